#pragma once

#include "AnswerQueue.h"

#include "platform/Windows.h"
#include "platform/host/OrderObjects.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orv::test {

class SettableClock;

// What the dialogs hand back (the numbers of the component's enumerations and dialog results).
namespace outcome {
inline constexpr std::int32_t kAbbruch = 0;    // edit or rebooking cancelled
inline constexpr std::int32_t kGeaendert = 1;  // edit or rebooking confirmed
inline constexpr std::int32_t kGeloescht = 2;  // entry deleted in the edit window
inline constexpr std::int32_t kOk = 1;         // small dialogs confirmed
inline constexpr std::int32_t kCancel = 2;     // small dialogs cancelled or closed
}  // namespace outcome

// The user at one kind of window. The component creates a window for each use; all windows of a
// kind share one script, so a test queues the answers before the window exists and reads what was
// asked after it is gone.

struct LeistungAnzeigenAnswer {
    std::int32_t status;
    std::optional<std::int32_t> seconds;    // written back when set
    std::optional<std::int32_t> auftragId;  // written back when set
};

// The edit window of one time entry: entry, seconds and office order in, the outcome back.
struct FrmLeistungScript
    : AnswerQueue<std::int32_t(cLeistung&, std::int32_t&, std::int32_t&, bool unproduktiv)> {
    FrmLeistungScript() : AnswerQueue("frmLeistung.LeistungAnzeigen", outcome::kAbbruch) {}
    using AnswerQueue::answer;
    using AnswerQueue::answerWith;
    void answer(const LeistungAnzeigenAnswer& a) { answer(of(a)); }
    void answerWith(const LeistungAnzeigenAnswer& a) { answerWith(of(a)); }
    static Answer of(const LeistungAnzeigenAnswer& a) {
        return [a](cLeistung&, std::int32_t& seconds, std::int32_t& auftragId, bool) {
            seconds = a.seconds.value_or(seconds);
            auftragId = a.auftragId.value_or(auftragId);
            return a.status;
        };
    }
};

// The pause dialog answers the pause's seconds. A queued number is a pause that long: the clock
// moves on by it before the dialog returns, as it does while the employee is away.
struct FrmPauseScript : AnswerQueue<std::int32_t(CStoppUhren&, const QDateTime&)> {
    explicit FrmPauseScript(SettableClock& clock)
        : AnswerQueue("frmPause.Pause", 0), clock(&clock) {}
    using AnswerQueue::answer;
    void answer(std::int32_t seconds);
    SettableClock* clock;
};

// The dialog for time worked outside the component: a confirmed period, or cancelled.
struct FrmExterneZeitScript
    : AnswerQueue<std::int32_t(std::int32_t& seconds, QDateTime& von, QDateTime& bis)> {
    FrmExterneZeitScript() : AnswerQueue("frmExterneZeit", outcome::kCancel) {}
    void accept(const QDateTime& von, const QDateTime& bis) {
        answer([=](std::int32_t& seconds, QDateTime& v, QDateTime& b) {
            seconds = static_cast<std::int32_t>(von.secsTo(bis));
            v = von;
            b = bis;
            return outcome::kOk;
        });
    }
};

// The office's order browser: each showing answers the orders picked (none: closed) and is
// recorded as the component set it up: "employee|mode|filter field|filter value|creation allowed".
struct OrderBrowserScript : AnswerQueue<std::vector<std::int32_t>()> {
    OrderBrowserScript() : AnswerQueue("AuftragBrowser.Anzeigen", {}) {}
    QStringList calls;
};

// The main window of headless tests: it shows nothing and is always on top.
std::unique_ptr<platform::FrmStoppUhr> makeMainWindow();
// The windows the component receives, each on its script.
std::unique_ptr<platform::FrmLeistung> makeWindow(FrmLeistungScript& script);
std::unique_ptr<platform::FrmPause> makeWindow(FrmPauseScript& script);
std::unique_ptr<platform::FrmExterneZeit> makeWindow(FrmExterneZeitScript& script);
std::unique_ptr<platform::OrderBrowser> makeWindow(OrderBrowserScript& script);

}  // namespace orv::test
