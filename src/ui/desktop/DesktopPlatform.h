#pragma once

#include "office/host/OfficePlatformFactory.h"
#include "platform/SystemClock.h"
#include "ui/desktop/QtMessageBoxes.h"

namespace orv::ui {

// Everything the component needs on an employee's desktop: the office's objects over its
// database, the workstation clock, Qt message boxes, the trace file of ORV_TRACE, the problem
// report and the Qt windows.
class DesktopPlatform final : public office::OfficePlatformFactory {
public:
    // A clock given here stands for the workstation's (the scripted demo sets its own time).
    explicit DesktopPlatform(db::Database& database, const platform::Clock* clock = nullptr);
    ~DesktopPlatform() override;

    const platform::Clock& clock() override { return clock_ != nullptr ? *clock_ : systemClock_; }
    platform::MessageBoxes& messageBoxes() override { return boxes_; }
    std::shared_ptr<platform::TraceLogger> createTraceLogger() override;
    std::unique_ptr<platform::ErrorServer> createErrorServer() override;

    std::unique_ptr<platform::FrmStoppUhr> createFrmStoppUhr() override;
    std::unique_ptr<platform::FrmLeistung> createFrmLeistung() override;
    std::unique_ptr<platform::FrmLeistungUmbuchen> createFrmLeistungUmbuchen() override;
    std::unique_ptr<platform::FrmPause> createFrmPause() override;
    std::unique_ptr<platform::FrmExterneZeit> createFrmExterneZeit() override;
    std::unique_ptr<platform::FrmEigenschaften> createFrmEigenschaften() override;

private:
    platform::SystemClock systemClock_;
    const platform::Clock* clock_;
    QtMessageBoxes boxes_;
};

}  // namespace orv::ui
