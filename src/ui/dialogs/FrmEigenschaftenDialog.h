#pragma once

#include "platform/Windows.h"
#include "session/diagnostics/ObjectTrace.h"

#include <QDialog>

#include <memory>

class QAction;
class QVBoxLayout;

namespace orv::office {
class ctlButton;
}

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class ctlAuftrag;

// The order on which the idle time is booked at day closing. It is one setting for the whole
// office, not the employee's own: the dialog says so, and asks before it confirms another order.
class FrmEigenschaftenDialog final : public QDialog, public platform::FrmEigenschaften {
    Q_OBJECT
public:
    explicit FrmEigenschaftenDialog(platform::PlatformFactory& platform);
    ~FrmEigenschaftenDialog() override;

    std::int32_t Eigenschaftenanzeigen(CAuftrag& order) override;

private:
    void auftragWaehlen();
    void bestaetigen();

    platform::PlatformFactory& platform_;
    ObjectTrace trace_;
    std::shared_ptr<CAuftrag> auftrag_;
    std::int32_t bisher_ = 0;  // the office's order when the dialog opened
    ctlAuftrag* ctlAuftrag1_ = nullptr;
    QVBoxLayout* layout_;
    QAction* mnuAuftrag_;
    office::ctlButton* ctlOk_;
    office::ctlButton* ctlAbbrechen_;
    std::int32_t ergebnis_ = 2;
};

}  // namespace orv::ui
