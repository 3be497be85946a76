#pragma once

#include "platform/Windows.h"
#include "session/diagnostics/ObjectTrace.h"

#include <QDateTime>
#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// Runs while the employee takes a break. The length is always measured on the clock from the
// pause's beginning: the one-second timer only refreshes the display, so a late or missed timer
// event never shortens or lengthens the pause.
class FrmPauseDialog final : public QDialog, public platform::FrmPause {
    Q_OBJECT
public:
    explicit FrmPauseDialog(platform::PlatformFactory& platform);
    ~FrmPauseDialog() override;

    void Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) override;

private:
    std::int32_t gemessen() const;
    void anzeigen();

    platform::PlatformFactory& platform_;
    ObjectTrace trace_;
    CStoppUhren* session_ = nullptr;
    QDateTime beginn_;
    QLabel* lblBeginn_;
    QLabel* lblZeit_;
    QPushButton* btnEnde_;
    QTimer* timer1_;
};

}  // namespace orv::ui
