#pragma once

#include "CallJournal.h"
#include "ManualTimer.h"
#include "RecordingErrorServer.h"
#include "RecordingTraceLogger.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedOrderDialogs.h"
#include "ScriptedWindows.h"
#include "SettableClock.h"

#include "office/host/OfficePlatformFactory.h"

#include <memory>
#include <set>
#include <vector>

namespace orv::test {

enum class Tracing { Off, On };

// The objects whose creation a test can make fail, as a missing or broken component would:
// the creation then raises error 429 naming the object.
enum class Creation {
    ErrorServer,
    Timer,
    PersonStamm,
    Mitarbeiter,
    FrmStoppUhr,
    FrmLeistung,
    FrmLeistungUmbuchen,
    FrmPause,
    FrmExterneZeit,
    FrmEigenschaften,
    OfficeOrder,
    OrderBrowser,
    OrderService,
    GlobaleWerte,
    AnwesenheitsObjekt,
    CQeGgwBasis,
    CQeLeistung,
    AuftragBenachrichtigung,
    BuchungsNachlauf,
};

// Everything outside the component for a test: the real host objects over the test's office
// database, a clock the test sets, a timer it ticks, and message boxes and windows that answer
// from a script. What the component did with them stays readable after it released them; all
// of it goes into one journal in order. Declare it before the component it serves: the
// component's timer and windows forward to objects the platform owns.
class FakePlatform final : public office::OfficePlatformFactory {
public:
    explicit FakePlatform(db::Database& database, Tracing tracing = Tracing::On);
    ~FakePlatform() override;

    const platform::Clock& clock() override { return clock_; }
    ScriptedMessageBoxes& messageBoxes() override { return boxes_; }
    // All loggers share one record.
    std::shared_ptr<platform::TraceLogger> createTraceLogger() override;

    std::unique_ptr<platform::ErrorServer> createErrorServer() override;
    std::unique_ptr<platform::TimerObject> createTimer() override;
    std::unique_ptr<platform::FrmStoppUhr> createFrmStoppUhr() override;
    std::unique_ptr<platform::FrmLeistung> createFrmLeistung() override;
    std::unique_ptr<platform::FrmLeistungUmbuchen> createFrmLeistungUmbuchen() override;
    std::unique_ptr<platform::FrmPause> createFrmPause() override;
    std::unique_ptr<platform::FrmExterneZeit> createFrmExterneZeit() override;
    std::unique_ptr<platform::FrmEigenschaften> createFrmEigenschaften() override;
    std::unique_ptr<platform::PersonStamm> createPersonStamm() override;
    std::unique_ptr<platform::Mitarbeiter> createMitarbeiter() override;
    std::unique_ptr<platform::OfficeOrder> createOfficeOrder() override;
    std::unique_ptr<platform::OrderBrowser> createOrderBrowser() override;
    std::unique_ptr<platform::OrderService> createOrderService() override;
    std::unique_ptr<platform::GlobaleWerte> createGlobaleWerte() override;
    std::unique_ptr<platform::AnwesenheitsObjekt> createAnwesenheitsObjekt() override;
    std::unique_ptr<platform::CQeGgwBasis> createCQeGgwBasis() override;
    std::unique_ptr<platform::CQeLeistung> createCQeLeistung() override;
    std::unique_ptr<platform::AuftragBenachrichtigung> createAuftragBenachrichtigung() override;
    std::unique_ptr<platform::BuchungsNachlauf> createBuchungsNachlauf() override;

    void failCreation(Creation what, bool fail = true);
    // The error server is created but cannot show the report.
    void failErrorServerShowing(bool fail = true) { errorServerShowFails_ = fail; }

    SettableClock& settableClock() { return clock_; }
    RecordingTraceLogger& trace() { return *trace_; }
    int traceLoggersCreated() const { return traceLoggersCreated_; }
    const std::vector<ErrorReport>& errorReports() const { return errorReports_; }
    int errorServersCreated() const { return errorServersCreated_; }
    // The timer created last; nullptr before the first.
    ManualTimer* timer() { return timers_.empty() ? nullptr : timers_.back().get(); }
    std::size_t timersCreated() const { return timers_.size(); }
    CallJournal& journal() { return journal_; }

    ScriptedFrmStoppUhr& frmStoppUhr() { return frmStoppUhr_; }
    ScriptedFrmLeistung& frmLeistung() { return frmLeistung_; }
    ScriptedFrmLeistungUmbuchen& frmLeistungUmbuchen() { return frmLeistungUmbuchen_; }
    ScriptedFrmPause& frmPause() { return frmPause_; }
    ScriptedFrmExterneZeit& frmExterneZeit() { return frmExterneZeit_; }
    ScriptedFrmEigenschaften& frmEigenschaften() { return frmEigenschaften_; }
    ScriptedOrderBrowser& orderBrowser() { return orderBrowser_; }
    ScriptedOrderService& orderService() { return orderService_; }

private:
    bool fails(Creation what) const { return failing_.count(what) > 0; }

    CallJournal journal_;
    SettableClock clock_;
    ScriptedMessageBoxes boxes_;
    std::shared_ptr<RecordingTraceLogger> trace_;
    int traceLoggersCreated_ = 0;
    std::vector<ErrorReport> errorReports_;
    int errorServersCreated_ = 0;
    bool errorServerShowFails_ = false;
    std::vector<std::unique_ptr<ManualTimer>> timers_;
    std::set<Creation> failing_;
    ScriptedFrmStoppUhr frmStoppUhr_;
    ScriptedFrmLeistung frmLeistung_;
    ScriptedFrmLeistungUmbuchen frmLeistungUmbuchen_;
    ScriptedFrmPause frmPause_;
    ScriptedFrmExterneZeit frmExterneZeit_;
    ScriptedFrmEigenschaften frmEigenschaften_;
    ScriptedOrderBrowser orderBrowser_;
    ScriptedOrderService orderService_;
};

}  // namespace orv::test
