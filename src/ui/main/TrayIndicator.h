#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace orv {
class CAuftrag;
class CStoppUhren;
}  // namespace orv

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// The stopwatch window's sign in the desktop's system tray: its picture tells whether
// productive or idle time runs, its tooltip the running order and its time, and its menu
// "trayMenu" offers the window, Stopp, Pause and the orders last started. It changes nothing
// itself: each choice is a signal the window runs as its own command. The menu and its actions
// exist on every desktop; the icon only shows where the desktop has a tray.
class TrayIndicator final : public QObject {
    Q_OBJECT
public:
    static constexpr int kZuletzt = 5;
    enum class Zustand { Leerlauf, Produktiv };

    TrayIndicator(QWidget& window, platform::PlatformFactory& platform);
    ~TrayIndicator() override;

    // Follows the session from now on; nullptr hides the icon.
    void setSession(CStoppUhren* session);
    // Picture, tooltip, enabled states and the orders offered, as the session stands now.
    void zustandStellen();
    // On each clock tick: the tooltip's time, and the rest once another stopwatch counts.
    void zeitAktualisieren();

    QMenu& menu() const { return *menu_; }
    Zustand zustand() const { return zustand_; }
    const QString& toolTip() const { return toolTip_; }
    // The icon in the tray; nullptr where the desktop has none.
    QSystemTrayIcon* icon() const { return icon_; }

signals:
    void anzeigenGewaehlt();
    void stoppGewaehlt();
    void pauseGewaehlt();
    void auftragGewaehlt(const QString& key);

private:
    // The stopwatch the clock counts on.
    const CAuftrag& laufend() const;
    void auftraegeAnbieten();
    void toolTipSetzen(const QString& text);

    CStoppUhren* session_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_;
    QAction* anzeigen_;
    QAction* stopp_;
    QAction* pause_;
    QAction* trenner_;
    std::array<QAction*, kZuletzt> auftraege_{};
    QIcon bildProduktiv_;
    QIcon bildLeerlauf_;
    Zustand zustand_ = Zustand::Leerlauf;
    // What the tooltip was made of: the stopwatch, its seconds, and the lines before the time.
    const CAuftrag* gezeigt_ = nullptr;
    std::int32_t sekunden_ = -1;
    QString kopf_;
    QString toolTip_;
};

}  // namespace orv::ui
