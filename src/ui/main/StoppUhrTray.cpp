// The window's sign in the system tray: its choices are the window's own commands.

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "ui/main/OrdersModel.h"
#include "ui/main/StoppUhrWidget.h"
#include "ui/main/TrayIndicator.h"


namespace orv::ui {

void StoppUhrWidget::trayVerbinden() {
    connect(tray_, &TrayIndicator::anzeigenGewaehlt, this, &StoppUhrWidget::wiederherstellen);
    connect(tray_, &TrayIndicator::stoppGewaehlt, this,
            [this] { befehl("trayStopp_Click", [this] { AuftragAnhalten(); }); });
    connect(tray_, &TrayIndicator::pauseGewaehlt, this,
            [this] { befehl("trayPause_Click", [this] { Pause(); }); });
    connect(tray_, &TrayIndicator::auftragGewaehlt, this, [this](const QString& key) {
        befehl("trayAuftrag_Click", [this, key] { AuftragWechseln(key); });
    });
}

void StoppUhrWidget::wiederherstellen() {
    // A window whose session ended stays closed.
    if (session_ == nullptr) {
        return;
    }
    if (isMinimized() || !isVisible()) {
        showNormal();
    }
    // A dialog of the window that waits for an answer stays in front of it.
    NachVorn();
}

void StoppUhrWidget::AuftragWechseln(const QString& key) {
    // As Start on the order's row: the row becomes current, and the window shows the order.
    int row = auftraege_->row(key);
    if (row < 0) {
        // The entries tab may have given the session orders the grid does not list yet.
        AuftrageAnzeigen();
        row = auftraege_->row(key);
    }
    const std::shared_ptr<CAuftrag> auftrag = auftraege_->order(row);
    if (auftrag == nullptr || auftrag->Status() >= AuftragStatus_Beendet) {
        return;
    }
    auftragZeileSetzen(row);
    AuftragStarten();
}

}  // namespace orv::ui
