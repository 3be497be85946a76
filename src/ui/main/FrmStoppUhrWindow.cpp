#include "ui/main/FrmStoppUhrWindow.h"

#include "ui/main/StoppUhrWidget.h"

namespace orv::ui {

FrmStoppUhrWindow::FrmStoppUhrWindow(platform::PlatformFactory& platform)
    : widget_(new StoppUhrWidget(platform)) {}

FrmStoppUhrWindow::~FrmStoppUhrWindow() {
    if (widget_ == nullptr) {
        return;
    }
    widget_->Schliessen();
    if (widget_->befehlLaeuft()) {
        widget_->deleteLater();
    } else {
        delete widget_;
    }
}

void FrmStoppUhrWindow::Anzeigen(CStoppUhren& session) {
    widget_->Anzeigen(session);
}

void FrmStoppUhrWindow::AktualisiereZeiten() {
    if (widget_ != nullptr) {
        widget_->AktualisiereZeiten();
    }
}

void FrmStoppUhrWindow::Schliessen() {
    if (widget_ != nullptr) {
        widget_->Schliessen();
    }
}

bool FrmStoppUhrWindow::IstZuOberst() const {
    return widget_ == nullptr || widget_->IstZuOberst();
}

void FrmStoppUhrWindow::NachVorn() {
    if (widget_ != nullptr) {
        widget_->NachVorn();
    }
}

}  // namespace orv::ui
