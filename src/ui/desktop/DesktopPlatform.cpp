#include "ui/desktop/DesktopPlatform.h"

#include "ORVkStoppUhren/DesktopPlatform.h"
#include "session/diagnostics/FileTraceLogger.h"
#include "ui/desktop/ProblemReportDialog.h"
#include "ui/dialogs/FrmEigenschaftenDialog.h"
#include "ui/dialogs/FrmExterneZeitDialog.h"
#include "ui/dialogs/FrmPauseDialog.h"
#include "ui/dialogs/frmLeistung.h"
#include "ui/dialogs/frmLeistungUmbuchen.h"
#include "ui/main/FrmStoppUhrWindow.h"
#include "ui/main/StoppUhrWidget.h"

namespace orv::ui {

DesktopPlatform::DesktopPlatform(db::Database& database, const platform::Clock* clock)
    : OfficePlatformFactory(database), clock_(clock) {}

DesktopPlatform::~DesktopPlatform() = default;

std::shared_ptr<platform::TraceLogger> DesktopPlatform::createTraceLogger() {
    return FileTraceLogger::shared();
}

std::unique_ptr<platform::ErrorServer> DesktopPlatform::createErrorServer() {
    return std::make_unique<ProblemReportServer>();
}

std::unique_ptr<platform::FrmStoppUhr> DesktopPlatform::createFrmStoppUhr() {
    return std::make_unique<FrmStoppUhrWindow>(*this);
}

std::unique_ptr<platform::FrmLeistung> DesktopPlatform::createFrmLeistung() {
    return std::make_unique<FrmLeistungDialog>(*this);
}

std::unique_ptr<platform::FrmLeistungUmbuchen> DesktopPlatform::createFrmLeistungUmbuchen() {
    return std::make_unique<FrmLeistungUmbuchenDialog>(*this);
}

std::unique_ptr<platform::FrmPause> DesktopPlatform::createFrmPause() {
    return std::make_unique<FrmPauseDialog>(*this);
}

std::unique_ptr<platform::FrmExterneZeit> DesktopPlatform::createFrmExterneZeit() {
    return std::make_unique<FrmExterneZeitDialog>(*this);
}

std::unique_ptr<platform::FrmEigenschaften> DesktopPlatform::createFrmEigenschaften() {
    return std::make_unique<FrmEigenschaftenDialog>(*this);
}

}  // namespace orv::ui

extern "C" ORV_EXPORT orv::platform::PlatformFactory* ORVkStoppUhren_CreateDesktopPlatform(
    orv::db::Database* database, const orv::platform::Clock* clock) {
    return new orv::ui::DesktopPlatform(*database, clock);
}
