#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTabWidget;
class QTableView;

namespace orv {
class CAuftrag;
class CStoppUhren;
class ObjectTrace;
}  // namespace orv

namespace orv::office {
class ctlButton;
}

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class DayOverviewWindow;
class EntriesModel;
class OrdersModel;
class ToolActions;
class TrayIndicator;
class ctlAuftrag;

// The stopwatch window ("Stoppuhren"): the orders and the finished entries in two tabs, the
// day's times, the order of the current row, and the commands. It changes no data itself: it
// picks keys from its grids, calls the session and shows the result.
class StoppUhrWidget final : public QWidget {
    Q_OBJECT
public:
    explicit StoppUhrWidget(platform::PlatformFactory& platform, QWidget* parent = nullptr);
    ~StoppUhrWidget() override;

    void Anzeigen(CStoppUhren& session);
    void AktualisiereZeiten();
    // Releases the session; the window goes once no command of it runs any more.
    void Schliessen();
    bool IstZuOberst() const;
    void NachVorn();
    // A command (with its dialogs and questions) is running.
    bool befehlLaeuft() const { return befehle_ > 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction and layout.
    void einrichten(CStoppUhren& session);
    void kopfBauen();
    void tabsBauen();
    void panelsBauen();
    office::ctlButton* knopf(QWidget* panel, const char* name, const QString& caption,
                             const QString& toolTip, int spalte);
    QLineEdit* fokusFaenger(QWidget* panel, const char* name);

    // Views.
    int tab() const;
    void tabStoppUhr_Click();
    void ObjectToView();
    void AuftrageAnzeigen();
    void LeistungenAnzeigen();
    QString aktuellerKey() const;
    int aktuelleAuftragZeile() const;
    void auftragZeileSetzen(int row);
    int aktuelleLeistungZeile() const;
    // The marked entry rows in order; the current row when none is marked.
    std::vector<int> markierteZeilen() const;
    void grdAuftraege_RowChange(bool neuZeigen = false);
    void ctlAuftrag1_AuftragGeaendert();
    void rechtsKlick(QTableView& grid, const QPoint& at, const QPoint& global);
    void fokusFangen(bool leistungen);

    // Enabling rules.
    void EnableButtons();
    void EnableButtonsLeistungen();
    void ToolbarStellen();
    void PopUpMenue(const QPoint& global);

    // Commands.
    void barAuftrag_ToolClick(const QString& key);
    // Runs a command as a window event: refused while another command or dialog of the window
    // runs, a half-typed order key applied first, failures reported, the state re-evaluated.
    void befehl(const char* name, const std::function<void()>& body);
    void Neu();
    void AuftragAnlegen(bool telefon);
    void AuftragStarten();
    void AuftragAnhalten();
    void AuftragBeenden();
    void TagesAbschluss();
    void AuftragAendern(bool anzeigen);
    void LeistungErzeugen();
    void LeistungLoeschen();
    void LeistungUmbuchen();
    void LeerlaufUmbuchen();
    void LeistungAnzeigen();
    void Buchen(bool sammel);
    void Pause();
    void Eigenschaften();
    void TagesuebersichtZeigen();
    // The tray's menu: its choices are these commands.
    void trayVerbinden();
    void wiederherstellen();
    // Start on the order's row, from outside the grid.
    void AuftragWechseln(const QString& key);
    void nichtGebuchtMelden(int anzahl);
    // Without right 38 a stopwatch without office order is not ended: its entries could not be
    // assigned afterwards.
    bool bleibtOffen(const CAuftrag& auftrag) const;
    void meldung(const QString& text, const QString& titel);

    platform::PlatformFactory& platform_;
    std::unique_ptr<ObjectTrace> trace_;
    CStoppUhren* session_ = nullptr;
    int befehle_ = 0;  // commands running, nested loops included
    bool schliessen_ = false;
    QPointer<DayOverviewWindow> uebersicht_;

    ToolActions* tools_;
    TrayIndicator* tray_;
    ctlAuftrag* ctlAuftrag1_ = nullptr;
    // What the order control shows.
    std::weak_ptr<CAuftrag> gezeigt_;
    bool leerGezeigt_ = false;
    QWidget* auftragPlatz_;
    QTabWidget* tabStoppUhr_;
    QTableView* grdAuftraege_;
    QTableView* grdLeistungen_;
    OrdersModel* auftraege_;
    EntriesModel* leistungen_;
    QWidget* picButtons_;
    QWidget* picButtonsLeistungen_;
    QLabel* lblAnmeldung_;
    QLabel* lblGesamt_;
    QLabel* lblLeerlauf_;
    QLabel* lblAktiv_;
    QLabel* lblAuftrag_;
    QLabel* lblLeistung_;
    office::ctlButton* ctlNeuerAuftrag_;
    office::ctlButton* btnStart_;
    office::ctlButton* btnStopp_;
    office::ctlButton* btnBeenden_;
    office::ctlButton* ctlTelefon_;
    office::ctlButton* ctlTagesAbschluss_;
    office::ctlButton* ctlEinzelBuchung_;
    office::ctlButton* ctlSammelbuchung_;
    office::ctlButton* ctlLoeschen_;
    office::ctlButton* ctlNeu_;
};

}  // namespace orv::ui
