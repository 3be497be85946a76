#pragma once

#include <QString>

#include <cstdint>

namespace orv::test::crash {

// What a worker session tells the test about its progress, one line per event:
//
//   S <total> <productive> <orders>   Starten succeeded: total seconds of all orders (idle
//                                     included), the session's productive seconds, the sum of
//                                     the productive orders' seconds
//   F <text>                          Starten failed
//   B <step> <kind> <seconds>         a step begins; seconds the clock advances (ticks only)
//   K <entry> <order> <seconds>       an entry about to be booked: its row, its order's row
//   H <step> <kind>                   the statement hook stops the process inside this step
//                                     (step 0: inside Starten)
//   E <step> <total> <saved> <unsaved>
//                                     a step ended: the session's total, the total the
//                                     database holds, and what the running stopwatch counted
//                                     since its last save
//   X <text>                          the worker found a fault
//   D                                 the workload is done
//
// The worker writes it, the test reads it.

// The step kinds of the workload, as the log and the kill plan name them.
namespace kind {
inline const QString kTick = QStringLiteral("tick");
inline const QString kSwitch = QStringLiteral("switch");
inline const QString kEdit = QStringLiteral("edit");
inline const QString kDelete = QStringLiteral("delete");
inline const QString kSingle = QStringLiteral("single");
inline const QString kSummed = QStringLiteral("summed");
inline const QString kPause = QStringLiteral("pause");
inline const QString kManual = QStringLiteral("manual");
inline const QString kStart = QStringLiteral("start");  // Starten, before the first step
}  // namespace kind

// The text line that names an entry in the services it was booked as.
inline QString entryTag(std::int32_t entryId) {
    return QStringLiteral("L%1").arg(entryId);
}

}  // namespace orv::test::crash
