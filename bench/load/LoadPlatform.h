#pragma once

#include "Workload.h"

#include "office/host/OfficePlatformFactory.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace orv {
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::load {

// One session's time: the simulated employee sets it, the component reads it.
class SimClock final : public platform::Clock {
public:
    QDateTime now() const override { return now_; }
    void set(const QDateTime& time) { now_ = time; }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_;
};

// What the employee means to enter in the next dialog the session opens. Set just before the
// command that opens it; the dialog takes it.
struct EditAnswer {
    std::int32_t status = 0;  // BearbeitungStati_Enum
    std::int32_t seconds = 0;
    std::int32_t auftragId = 0;
};

struct RebookAnswer {
    cLeistung* target = nullptr;  // nullptr: the idle time
    std::int32_t amount = 0;
};

// Everything a session reaches outside itself: the office's host objects on the shared office
// database, and for the rest a quiet desk: a clock the employee sets, a timer that ticks only
// when the employee's loop calls the session, windows that do nothing or answer as the employee
// decided, and message boxes that are written down, since none is expected in a run.
class LoadPlatform final : public office::OfficePlatformFactory, public WorkloadDesk {
public:
    // Called while a pause lasts, with the pause's seconds: the employee lets the time pass.
    using PauseHandler = std::function<void(std::int32_t seconds)>;

    LoadPlatform(db::Database& database, std::int32_t idleBookingOrder);
    ~LoadPlatform() override;

    const platform::Clock& clock() override { return clock_; }
    platform::MessageBoxes& messageBoxes() override { return boxes_; }
    std::shared_ptr<platform::TraceLogger> createTraceLogger() override;
    std::unique_ptr<platform::TimerObject> createTimer() override;
    std::unique_ptr<platform::FrmStoppUhr> createFrmStoppUhr() override;
    std::unique_ptr<platform::FrmLeistung> createFrmLeistung() override;
    std::unique_ptr<platform::FrmLeistungUmbuchen> createFrmLeistungUmbuchen() override;
    std::unique_ptr<platform::FrmPause> createFrmPause() override;

    SimClock& simClock() { return clock_; }
    // The session the rebooking dialog works on.
    void setSession(CStoppUhren* session) { session_ = session; }
    void setPauseHandler(PauseHandler handler) { pauseHandler_ = std::move(handler); }

    void nextEdit(std::int32_t status, std::int32_t seconds, std::int32_t auftragId) override {
        edit_ = EditAnswer{status, seconds, auftragId};
    }
    void nextRebooking(cLeistung* target, std::int32_t amount) override {
        rebook_ = RebookAnswer{target, amount};
    }
    void nextPause(std::int32_t seconds) override { pauseSeconds_ = seconds; }
    // Every message box shown since the last call, "title: text".
    QStringList takeMessages();

private:
    class Boxes final : public platform::MessageBoxes {
    public:
        platform::MsgAnswer show(const QString& text, platform::MsgButtons buttons,
                                 platform::MsgIcon icon, const QString& title,
                                 bool systemModal) override;
        QStringList shown;
    };
    class EditWindow;
    class RebookingWindow;
    class PauseWindow;

    SimClock clock_;
    Boxes boxes_;
    std::int32_t idleBookingOrder_;
    CStoppUhren* session_ = nullptr;
    PauseHandler pauseHandler_;
    std::optional<EditAnswer> edit_;
    std::optional<RebookAnswer> rebook_;
    std::int32_t pauseSeconds_ = 0;
};

}  // namespace orv::load
