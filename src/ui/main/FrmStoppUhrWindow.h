#pragma once

#include "platform/Windows.h"

#include <QPointer>

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class StoppUhrWidget;

// The stopwatch window as the session holds it. The session releases it when it closes the
// window; a window released from inside one of its own commands (a dialog's nested loop) goes
// once that command has returned.
class FrmStoppUhrWindow final : public platform::FrmStoppUhr {
public:
    explicit FrmStoppUhrWindow(platform::PlatformFactory& platform);
    ~FrmStoppUhrWindow() override;
    FrmStoppUhrWindow(const FrmStoppUhrWindow&) = delete;
    FrmStoppUhrWindow& operator=(const FrmStoppUhrWindow&) = delete;

    void Anzeigen(CStoppUhren& session) override;
    void AktualisiereZeiten() override;
    void Schliessen() override;
    bool IstZuOberst() const override;
    void NachVorn() override;

    // The window itself; nullptr once it is gone.
    StoppUhrWidget* widget() const { return widget_; }

private:
    QPointer<StoppUhrWidget> widget_;
};

}  // namespace orv::ui
