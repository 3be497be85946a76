#pragma once

#include "ManualTimer.h"
#include "RecordingErrorServer.h"
#include "RecordingTraceLogger.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedWindows.h"
#include "SettableClock.h"

#include "office/host/OfficePlatformFactory.h"
#include "platform/host/OfficeServices.h"
#include "platform/host/PersonObjects.h"

#include <QStringList>

#include <functional>
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
    GlobaleWerte,
    CQeGgwBasis,
    AuftragBenachrichtigung
};

// One creator: a creation the test made fail goes to the base class, which raises the error a
// missing component gives; any other hands out what `made` makes.
#define ORV_FAKE_CREATE(Name, Type, made)                                                \
    std::unique_ptr<platform::Type> create##Name() override {                            \
        return fails(Creation::Name) ? platform::PlatformFactory::create##Name() : made; \
    }
// A window a test may hand to the real Qt implementation; its script answers otherwise, or,
// without a script, the creation fails as the office's would.
#define ORV_FAKE_QT_WINDOW(Kind, otherwise)                     \
    std::unique_ptr<platform::Kind> create##Kind() override {   \
        return qtWindows_.Kind ? qtWindows_.Kind() : otherwise; \
    }

// The makers of the real windows, for tests that drive them as an employee would.
struct QtWindowMakers {
    std::function<std::unique_ptr<platform::FrmStoppUhr>()> FrmStoppUhr;
    std::function<std::unique_ptr<platform::FrmLeistung>()> FrmLeistung;
    std::function<std::unique_ptr<platform::FrmLeistungUmbuchen>()> FrmLeistungUmbuchen;
    std::function<std::unique_ptr<platform::FrmPause>()> FrmPause;
    std::function<std::unique_ptr<platform::FrmExterneZeit>()> FrmExterneZeit;
    std::function<std::unique_ptr<platform::FrmEigenschaften>()> FrmEigenschaften;
};

// Everything outside the component for a test: the real host objects over the test's office
// database, a clock the test sets, a timer it ticks, and message boxes and windows that answer
// from a script. What the component did with them stays readable after it released them.
// Declare it before the component it serves: the component's timer and windows refer to
// scripts the platform owns.
class FakePlatform final : public office::OfficePlatformFactory {
public:
    explicit FakePlatform(db::Database& database, Tracing tracing = Tracing::On);
    ~FakePlatform() override;

    const platform::Clock& clock() override { return clock_; }
    ScriptedMessageBoxes& messageBoxes() override { return boxes_; }
    // All loggers share one record.
    std::shared_ptr<platform::TraceLogger> createTraceLogger() override { return trace_; }

    ORV_FAKE_CREATE(ErrorServer, ErrorServer, std::make_unique<RecordingErrorServer>(errorReports_))
    ORV_FAKE_CREATE(Timer, TimerObject, newTimer())
    ORV_FAKE_CREATE(FrmStoppUhr, FrmStoppUhr,
                    qtWindows_.FrmStoppUhr ? qtWindows_.FrmStoppUhr() : makeMainWindow())
    ORV_FAKE_QT_WINDOW(FrmLeistung, makeWindow(frmLeistung_))
    ORV_FAKE_QT_WINDOW(FrmPause, makeWindow(frmPause_))
    ORV_FAKE_QT_WINDOW(FrmExterneZeit, makeWindow(frmExterneZeit_))
    ORV_FAKE_QT_WINDOW(FrmEigenschaften, OfficePlatformFactory::createFrmEigenschaften())
    ORV_FAKE_QT_WINDOW(FrmLeistungUmbuchen, OfficePlatformFactory::createFrmLeistungUmbuchen())
    std::unique_ptr<platform::OrderBrowser> createOrderBrowser() override {
        return makeWindow(orderBrowser_);
    }
    ORV_FAKE_CREATE(PersonStamm, PersonStamm, OfficePlatformFactory::createPersonStamm())
    ORV_FAKE_CREATE(Mitarbeiter, Mitarbeiter, OfficePlatformFactory::createMitarbeiter())
    ORV_FAKE_CREATE(GlobaleWerte, GlobaleWerte, OfficePlatformFactory::createGlobaleWerte())
    ORV_FAKE_CREATE(CQeGgwBasis, CQeGgwBasis, OfficePlatformFactory::createCQeGgwBasis())
    ORV_FAKE_CREATE(AuftragBenachrichtigung, AuftragBenachrichtigung,
                    OfficePlatformFactory::createAuftragBenachrichtigung())

    void failCreation(Creation what, bool fail = true) {
        fail ? void(failing_.insert(what)) : void(failing_.erase(what));
    }

    SettableClock& settableClock() { return clock_; }
    RecordingTraceLogger& trace() { return *trace_; }
    const std::vector<ErrorReport>& errorReports() const { return errorReports_; }
    // What the user was told: each box's text (after its title, if asked for), then each problem
    // report's description.
    QStringList told(bool withTitles = false) const {
        QStringList out;
        for (const AskedBox& box : boxes_.asked()) {
            out << (withTitles ? box.title + QStringLiteral(": ") + box.text : box.text);
        }
        for (const ErrorReport& report : errorReports_) {
            out << report.description;
        }
        return out;
    }
    // The timer created last; nullptr before the first.
    ManualTimer* timer() { return timers_.empty() ? nullptr : timers_.back().get(); }

    FrmLeistungScript& frmLeistung() { return frmLeistung_; }
    FrmPauseScript& frmPause() { return frmPause_; }
    FrmExterneZeitScript& frmExterneZeit() { return frmExterneZeit_; }
    OrderBrowserScript& orderBrowser() { return orderBrowser_; }
    // Windows set here are the real ones instead of their scripts.
    QtWindowMakers& qtWindows() { return qtWindows_; }

private:
    bool fails(Creation what) const { return failing_.count(what) > 0; }
    std::unique_ptr<platform::TimerObject> newTimer();

    SettableClock clock_;
    ScriptedMessageBoxes boxes_;
    std::shared_ptr<RecordingTraceLogger> trace_;
    std::vector<ErrorReport> errorReports_;
    std::vector<std::unique_ptr<ManualTimer>> timers_;
    std::set<Creation> failing_;
    FrmLeistungScript frmLeistung_;
    FrmPauseScript frmPause_{clock_};
    FrmExterneZeitScript frmExterneZeit_;
    OrderBrowserScript orderBrowser_;
    QtWindowMakers qtWindows_;
};

#undef ORV_FAKE_CREATE
#undef ORV_FAKE_QT_WINDOW

}  // namespace orv::test
