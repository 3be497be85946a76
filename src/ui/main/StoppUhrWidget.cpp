#include "ui/main/StoppUhrWidget.h"

#include "model/CAuftrag.h"
#include "office/widgets/ctlButton.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/OfficeIcons.h"
#include "ui/controls/Twips.h"
#include "ui/controls/ctlAuftrag.h"
#include "ui/main/DayOverviewWindow.h"
#include "ui/main/EntriesModel.h"
#include "ui/main/GridText.h"
#include "ui/main/OrdersModel.h"
#include "ui/main/ToolActions.h"
#include "ui/main/TrayIndicator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::ui {
namespace {

constexpr int kBreite = 800;
constexpr int kHoehe = 600;
constexpr int kMindestHoehe = 6000;
constexpr double kSchriftPunkte = 8.25;
// Captions of the day's times; a time's accessible name starts with its caption.
const QString kAnmeldung = QStringLiteral("Anmeldung");
const QString kGesamt = QStringLiteral("Gesamt");
const QString kLeerlauf = QStringLiteral("Leerlauf");
const QString kAktiv = QStringLiteral("aktiv");

template <typename Label = QLabel>
QLabel* beschriftung(QWidget* parent, const char* name, const QString& text, double punkte) {
    auto* label = new Label(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(punkte);
    font.setBold(true);
    label->setFont(font);
    return label;
}

void faerben(QLabel* label, Qt::GlobalColor farbe) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, farbe);
    label->setPalette(palette);
}

}  // namespace

StoppUhrWidget::StoppUhrWidget(platform::PlatformFactory& platform, QWidget* parent)
    : QWidget(parent),
      platform_(platform),
      trace_(std::make_unique<ObjectTrace>(platform, QStringLiteral("frmStoppUhr"))),
      tools_(new ToolActions(*this)),
      tray_(new TrayIndicator(*this, platform)),
      auftragPlatz_(new QWidget(this)),
      tabStoppUhr_(new QTabWidget(this)),
      grdAuftraege_(new QTableView(this)),
      grdLeistungen_(new QTableView(this)),
      auftraege_(new OrdersModel(this)),
      leistungen_(new EntriesModel(this)),
      picButtons_(new QWidget(this)),
      picButtonsLeistungen_(new QWidget(this)) {
    setObjectName(QStringLiteral("frmStoppUhr"));
    setWindowTitle(QStringLiteral("Stoppuhren"));
    setMinimumSize(kBreite, px(kMindestHoehe));
    // The window's design font: its grids, buttons and tools are measured for it.
    QFont schrift = font();
    schrift.setPointSizeF(kSchriftPunkte);
    setFont(schrift);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&tools_->toolbar());
    kopfBauen();
    tabsBauen();
    panelsBauen();
    connect(tools_, &ToolActions::toolClick, this, &StoppUhrWidget::barAuftrag_ToolClick);
    trayVerbinden();
}

StoppUhrWidget::~StoppUhrWidget() = default;

void StoppUhrWidget::kopfBauen() {
    auto* kopf = new QHBoxLayout;
    kopf->setContentsMargins(px(60), 0, px(120), 0);
    auftragPlatz_->setObjectName(QStringLiteral("ctlAuftrag1Platz"));
    auftragPlatz_->setFixedWidth(px(8535));
    auto* platz = new QVBoxLayout(auftragPlatz_);
    platz->setContentsMargins(0, 0, 0, 0);
    kopf->addWidget(auftragPlatz_, 0, Qt::AlignTop);
    kopf->addStretch(1);

    auto* zeiten = new QGridLayout;
    zeiten->setHorizontalSpacing(px(210) - px(135));
    const auto paar = [&](int zeile, const char* captionName, const QString& caption,
                          const QString& tip, const char* valueName) {
        QLabel* c = beschriftung(this, captionName, caption, kSchriftPunkte);
        QLabel* v = beschriftung<ZeitLabel>(this, valueName, QStringLiteral("00:00:00"), 12);
        c->setFixedSize(px(1095), px(255));
        v->setFixedSize(px(1305), px(345));
        v->setAlignment(Qt::AlignCenter);
        // Opaque: a tick repaints the value alone, not the window behind it.
        v->setAutoFillBackground(true);
        c->setToolTip(tip);
        v->setToolTip(tip);
        zeiten->addWidget(c, zeile, 0);
        zeiten->addWidget(v, zeile, 1);
        return std::pair{c, v};
    };
    lblAnmeldung_ = paar(0, "lblCaptionAnmeldung", kAnmeldung,
                         QStringLiteral("Uhrzeit der letzten Anmeldung"), "lblAnmeldung")
                        .second;
    lblGesamt_ = paar(1, "lblCaptionGesamt", kGesamt,
                      QStringLiteral("bisherige Gesamtzeit (ggf. inklusive Zeit seit letzter "
                                     "Abmeldung)"),
                      "lblGesamt")
                     .second;
    // The active order's and the entry's times stand between, never shown.
    const auto [cAuftrag, vAuftrag] =
        paar(2, "lblCaptionAuftrag", QStringLiteral("Auftrag"), {}, "lblAuftrag");
    const auto [cLeistung, vLeistung] =
        paar(3, "lblCaptionLeistung", QStringLiteral("Leistung"), {}, "lblLeistung");
    lblAuftrag_ = vAuftrag;
    lblLeistung_ = vLeistung;
    for (QLabel* l : {cAuftrag, vAuftrag, cLeistung, vLeistung}) {
        faerben(l, Qt::blue);
        l->hide();
    }
    zeiten->setRowMinimumHeight(2, px(1860 - 1080 - 390));
    const auto [cLeerlauf, vLeerlauf] = paar(4, "lblCaptionLeerlauf", kLeerlauf,
                                             QStringLiteral("unproduktive Zeit"), "lblLeerlauf");
    lblLeerlauf_ = vLeerlauf;
    faerben(cLeerlauf, Qt::red);
    faerben(vLeerlauf, Qt::red);
    lblAktiv_ =
        paar(5, "lblCaptionAktiv", kAktiv, QStringLiteral("produktive Zeit"), "lblAktiv").second;
    zeiten->setRowStretch(6, 1);
    auto* zeitenPlatz = new QVBoxLayout;
    zeitenPlatz->setContentsMargins(0, px(690 - 450), 0, 0);
    zeitenPlatz->addLayout(zeiten);
    kopf->addLayout(zeitenPlatz);
    static_cast<QVBoxLayout*>(layout())->addLayout(kopf);
}

void StoppUhrWidget::tabsBauen() {
    tabStoppUhr_->setObjectName(QStringLiteral("tabStoppUhr"));
    grdAuftraege_->setObjectName(QStringLiteral("grdAuftraege"));
    grdLeistungen_->setObjectName(QStringLiteral("grdLeistungen"));
    grdAuftraege_->setModel(auftraege_);
    grdLeistungen_->setModel(leistungen_);
    grdLeistungen_->setItemDelegate(new GridDelegate(grdLeistungen_));
    setUpGrid(*grdAuftraege_, OrdersModel::columns());
    grdAuftraege_->setItemDelegate(new GridDelegate(grdAuftraege_));
    grdAuftraege_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLeistungen_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabStoppUhr_->addTab(grdAuftraege_, QStringLiteral("Vorgänge"));
    tabStoppUhr_->addTab(grdLeistungen_, QStringLiteral("vorläufige Leistungen"));
    setzeZugaenglich(*tabStoppUhr_->tabBar(), QStringLiteral("Ansicht"));
    setzeZugaenglich(*grdAuftraege_, QStringLiteral("Vorgänge"));
    setzeZugaenglich(*grdLeistungen_, QStringLiteral("vorläufige Leistungen"));
    auto* rand = new QHBoxLayout;
    rand->setContentsMargins(px(60), px(75), px(60), 0);
    rand->addWidget(tabStoppUhr_);
    static_cast<QVBoxLayout*>(layout())->addLayout(rand, 1);

    for (QTableView* grid : {grdAuftraege_, grdLeistungen_}) {
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
    }
    connect(tabStoppUhr_, &QTabWidget::currentChanged, this, [this] {
        Procedure(*trace_, "tabStoppUhr_Click").report([this] { tabStoppUhr_Click(); });
    });
    connect(grdAuftraege_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { grdAuftraege_RowChange(); });
    connect(grdAuftraege_, &QTableView::doubleClicked, this,
            [this] { befehl("grdAuftraege_DblClick", [this] { AuftragStarten(); }); });
    connect(grdLeistungen_, &QTableView::doubleClicked, this, [this] {
        befehl("grdLeistungen_DblClick", [this] {
            if (aktuelleLeistungZeile() >= 0) {
                LeistungAnzeigen();
            }
        });
    });
    // The current entry row is always marked, so a command never acts on a row not shown so.
    const auto aktuellMarkieren = [this] {
        const QModelIndex current = grdLeistungen_->selectionModel()->currentIndex();
        if (current.isValid() && !grdLeistungen_->selectionModel()->isRowSelected(current.row())) {
            grdLeistungen_->selectionModel()->select(
                current, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    };
    connect(grdLeistungen_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, aktuellMarkieren] {
                aktuellMarkieren();
                Procedure(*trace_, "grdLeistungen_EnterCell").report([this] {
                    EnableButtonsLeistungen();
                });
            });
    connect(grdLeistungen_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            aktuellMarkieren);
}

office::ctlButton* StoppUhrWidget::knopf(QWidget* panel, const char* name, const QString& caption,
                                         const QString& toolTip, int spalte) {
    auto* button = new office::ctlButton(panel, name, caption);
    button->ToolTipText(toolTip);
    button->setGeometry(px(60 + 1260 * spalte), px(60), px(1215), px(315));
    return button;
}

QLineEdit* StoppUhrWidget::fokusFaenger(QWidget* panel, const char* name) {
    // Outside the visible part of its panel: it only ends the panel's tab order.
    auto* dummy = new QLineEdit(panel);
    dummy->setObjectName(QString::fromLatin1(name));
    dummy->setGeometry(-px(1000), 0, 4, 4);
    dummy->installEventFilter(this);
    setzeZugaenglich(*dummy, QStringLiteral("Ende der Schaltflächen"));
    return dummy;
}

void StoppUhrWidget::panelsBauen() {
    picButtons_->setObjectName(QStringLiteral("picButtons"));
    picButtonsLeistungen_->setObjectName(QStringLiteral("picButtonsLeistungen"));
    const QString pauseTip = QStringLiteral("Dienstunterbrechung, Stoppuhr wird angehalten");
    ctlNeuerAuftrag_ = knopf(picButtons_, "ctlNeuerAuftrag", QStringLiteral("neuer Vorgang"),
                             QStringLiteral("neuen Vorgang anlegen"), 0);
    btnStart_ = knopf(picButtons_, "btnStart", QStringLiteral("Start"),
                      QStringLiteral("ausgewählten Vorgang starten"), 1);
    btnStopp_ = knopf(picButtons_, "btnStopp", QStringLiteral("Stopp"), {}, 2);
    office::ctlButton* pause1 =
        knopf(picButtons_, "btnPause", QStringLiteral("Pause"), pauseTip, 3);
    ctlTelefon_ = knopf(picButtons_, "ctlTelefon", QStringLiteral("Telefon"),
                        QStringLiteral("Vorgang für Telefonat erfassen"), 4);
    btnBeenden_ = knopf(picButtons_, "btnBeenden", QStringLiteral("Beenden"),
                        QStringLiteral("ausgewählten Vorgang beenden und abschliessen"), 5);
    ctlTagesAbschluss_ = knopf(picButtons_, "ctlTagesAbschluss", QStringLiteral("Abschluss"),
                               QStringLiteral("alle Vorgänge eenden und abschliessen"), 6);
    fokusFaenger(picButtons_, "txtDummyPicButtons");

    ctlEinzelBuchung_ =
        knopf(picButtonsLeistungen_, "ctlEinzelBuchung", QStringLiteral("E-Buchung"),
              QStringLiteral("markierte Leistung einzeln buchen"), 0);
    ctlSammelbuchung_ =
        knopf(picButtonsLeistungen_, "ctlSammelbuchung", QStringLiteral("S-Buchung"),
              QStringLiteral("markierte Leistung zusammengefasst buchen"), 1);
    office::ctlButton* pause2 =
        knopf(picButtonsLeistungen_, "btnPause", QStringLiteral("Pause"), pauseTip, 3);
    ctlLoeschen_ = knopf(picButtonsLeistungen_, "ctlLoeschen", QStringLiteral("Löschen"),
                         QStringLiteral("ausgewählte vorläufige Leistung löschen"), 4);
    ctlNeu_ = knopf(picButtonsLeistungen_, "ctlNeu", QStringLiteral("Neu"),
                    QStringLiteral("neue vorläufige Leistung erfassen"), 5);
    fokusFaenger(picButtonsLeistungen_, "txtDummyPicButtonsLeistung");

    const auto klick = [this](office::ctlButton* button, const char* name, auto body) {
        connect(button, &QPushButton::clicked, this, [this, name, body] { befehl(name, body); });
    };
    klick(ctlNeuerAuftrag_, "ctlNeuerAuftrag_Click", [this] { AuftragAnlegen(false); });
    klick(btnStart_, "btnStart_Click", [this] { AuftragStarten(); });
    klick(btnStopp_, "btnStopp_Click", [this] { AuftragAnhalten(); });
    klick(pause1, "btnPause_Click", [this] { Pause(); });
    klick(pause2, "btnPause_Click", [this] { Pause(); });
    klick(ctlTelefon_, "ctlTelefon_Click", [this] { AuftragAnlegen(true); });
    klick(btnBeenden_, "btnBeenden_Click", [this] { AuftragBeenden(); });
    klick(ctlTagesAbschluss_, "ctlTagesAbschluss_Click", [this] { TagesAbschluss(); });
    klick(ctlEinzelBuchung_, "ctlEinzelBuchung_Click", [this] { Buchen(false); });
    klick(ctlSammelbuchung_, "ctlSammelbuchung_Click", [this] { Buchen(true); });
    klick(ctlLoeschen_, "ctlLoeschen_Click", [this] { LeistungLoeschen(); });
    klick(ctlNeu_, "ctlNeu_Click", [this] { LeistungErzeugen(); });

    // The buttons' captions stay as they are, without access keys: each button runs a tool,
    // whose key its tooltip shows. The day closing has no tool, so its button has a key.
    ctlTagesAbschluss_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F7));
    tasteImTipp(*ctlTagesAbschluss_, [this] { return ctlTagesAbschluss_->shortcut(); });
    const std::pair<QWidget*, const char*> tasten[] = {
        {ctlNeuerAuftrag_, tool::kNeu},
        {btnStart_, tool::kStart},
        {btnStopp_, tool::kStop},
        {pause1, tool::kPause},
        {ctlTelefon_, tool::kTelefon},
        {btnBeenden_, tool::kBeenden},
        {ctlEinzelBuchung_, tool::kBuchenEinzel},
        {ctlSammelbuchung_, tool::kBuchenSammel},
        {pause2, tool::kPause},
        {ctlLoeschen_, tool::kLeistungLoeschen},
        {ctlNeu_, tool::kNeu},
    };
    for (const auto& [button, key] : tasten) {
        tasteImTipp(*button, [this, key = key] { return tools_->taste(key); });
    }

    for (QWidget* panel : {picButtons_, picButtonsLeistungen_}) {
        panel->setFixedHeight(px(435));
        static_cast<QVBoxLayout*>(layout())->addWidget(panel);
    }
    picButtonsLeistungen_->hide();
}

void StoppUhrWidget::Anzeigen(CStoppUhren& session) {
    Procedure p(*trace_, "Anzeigen");
    p.run([&] {
        // Shown again by the host: the window comes back as the employee left it, also while
        // one of its commands waits in a dialog.
        if (session_ != &session) {
            einrichten(session);
        }
        wiederherstellen();
        QCoreApplication::processEvents();
    });
}

void StoppUhrWidget::einrichten(CStoppUhren& session) {
    trace_->trace(QStringLiteral("Formular wird initialisiert"));
    setOfficeWindowIcon(*this, platform_);
    resize(kBreite, kHoehe);
    session_ = &session;
    if (ctlAuftrag1_ == nullptr) {
        ctlAuftrag1_ = new ctlAuftrag(session, auftragPlatz_);
        ctlAuftrag1_->setObjectName(QStringLiteral("ctlAuftrag1"));
        auftragPlatz_->layout()->addWidget(ctlAuftrag1_);
        connect(ctlAuftrag1_, &ctlAuftrag::AuftragGeaendert, this, [this] {
            Procedure(*trace_, "ctlAuftrag1_AuftragGeaendert").report([this] {
                ctlAuftrag1_AuftragGeaendert();
            });
        });
        connect(ctlAuftrag1_, &ctlAuftrag::LoseFocus, this,
                [this] { tabStoppUhr_->tabBar()->setFocus(Qt::TabFocusReason); });
    }
    auftraege_->setSession(&session);
    leistungen_->setSession(&session);
    setUpGrid(*grdLeistungen_, EntriesModel::columns(session.VerwaltungsanteilAktiv()));
    AktualisiereZeiten();
    ObjectToView();
    tools_->SetToolIcons(platform_);
    ToolbarStellen();
    tray_->setSession(&session);
}

void StoppUhrWidget::AktualisiereZeiten() {
    Procedure p(*trace_, "AktualisiereZeiten", Procedure::Tracing::Untraced);
    p.run([&] {
        if (session_ == nullptr) {
            return;
        }
        const QString null = QStringLiteral("00:00:00");
        wertAnzeigen(*lblAnmeldung_, kAnmeldung,
                     session_->LoginZeit().toString(QStringLiteral("hh:mm:ss")));
        wertAnzeigen(*lblGesamt_, kGesamt, session_->GesamtZeitText());
        wertAnzeigen(*lblAktiv_, kAktiv, session_->AuftragsZeitText());
        lblAuftrag_->setText(session_->AuftragLaeuft() && session_->AktuellerAuftrag() != nullptr
                                 ? session_->SekundenZeit(session_->AktuellerAuftrag()->Sekunden())
                                 : null);
        lblLeistung_->setText(null);
        wertAnzeigen(*lblLeerlauf_, kLeerlauf,
                     session_->SekundenZeit(session_->LeerlaufAuftrag().Sekunden()));
        auftraege_->zeitAktualisiert();
        tray_->zeitAktualisieren();
    });
}

void StoppUhrWidget::Schliessen() {
    if (schliessen_) {
        return;
    }
    trace_->trace(QStringLiteral("Schliessen"));
    session_ = nullptr;
    schliessen_ = true;
    // The overview reads the session that ends now.
    if (uebersicht_ != nullptr) {
        uebersicht_->Schliessen();
    }
    tray_->setSession(nullptr);
    close();
    auftraege_->setSession(nullptr);
    leistungen_->setSession(nullptr);
}

bool StoppUhrWidget::IstZuOberst() const {
    // One of the window's own dialogs in front counts as the window itself.
    const QWidget* aktiv = QApplication::activeWindow();
    if (aktiv == this) {
        return true;
    }
    return aktiv != nullptr && (isAncestorOf(aktiv) || aktiv->parentWidget() == this ||
                                aktiv == QApplication::activeModalWidget());
}

void StoppUhrWidget::NachVorn() {
    // A window the employee minimised stays so, and a dialog in front stays in front.
    if (isMinimized() || !isVisible()) {
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        modal->raise();
        modal->activateWindow();
        return;
    }
    raise();
    activateWindow();
}

void StoppUhrWidget::closeEvent(QCloseEvent* event) {
    if (schliessen_) {
        event->accept();
        return;
    }
    // The close box only puts the window aside: the stopwatches run on.
    event->ignore();
    showMinimized();
}

int StoppUhrWidget::tab() const {
    return tabStoppUhr_->currentIndex();
}

void StoppUhrWidget::tabStoppUhr_Click() {
    if (session_ == nullptr) {
        return;
    }
    const bool leistungenTab = tab() == 1;
    picButtons_->setVisible(!leistungenTab);
    picButtonsLeistungen_->setVisible(leistungenTab);
    if (leistungenTab) {
        LeistungenAnzeigen();
        ctlAuftrag1_->EnableControls(false);
    } else {
        ctlAuftrag1_->EnableControls(true);
        AuftrageAnzeigen();
    }
    ToolbarStellen();
}

void StoppUhrWidget::ObjectToView() {
    AuftrageAnzeigen();
    grdAuftraege_RowChange(true);
}

void StoppUhrWidget::AuftrageAnzeigen() {
    auftraege_->AuftrageAnzeigen();
    // The stopwatch that counts is the current row; with none running, the idle row.
    auftragZeileSetzen(auftraege_->zaehlendeZeile());
}

void StoppUhrWidget::auftragZeileSetzen(int row) {
    const QModelIndex index = auftraege_->index(std::max(row, 0), 2);
    const bool gleich = grdAuftraege_->selectionModel()->currentIndex().row() == index.row();
    grdAuftraege_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grdAuftraege_->scrollTo(index);
    // The current row's order is shown and the buttons follow it, also when the row number
    // stayed while its order changed.
    if (gleich) {
        grdAuftraege_RowChange();
    }
}

void StoppUhrWidget::LeistungenAnzeigen() {
    const int zeile = aktuelleLeistungZeile();
    const QString auftrag = leistungen_->auftragKey(zeile);
    const QString leistung = leistungen_->leistungKey(zeile);
    leistungen_->LeistungenAnzeigen();
    int wieder = leistungen_->row(auftrag, leistung);
    if (wieder < 0) {
        wieder = std::min(zeile, leistungen_->rowCount() - 1);
    }
    if (wieder >= 0) {
        grdLeistungen_->selectionModel()->setCurrentIndex(
            leistungen_->index(wieder, 2),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    EnableButtonsLeistungen();
}

QString StoppUhrWidget::aktuellerKey() const {
    return auftraege_->key(aktuelleAuftragZeile());
}

int StoppUhrWidget::aktuelleAuftragZeile() const {
    return grdAuftraege_->selectionModel()->currentIndex().row();
}

int StoppUhrWidget::aktuelleLeistungZeile() const {
    return grdLeistungen_->selectionModel()->currentIndex().row();
}

std::vector<int> StoppUhrWidget::markierteZeilen() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grdLeistungen_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    if (rows.empty() && aktuelleLeistungZeile() >= 0) {
        rows.push_back(aktuelleLeistungZeile());
    }
    return rows;
}

void StoppUhrWidget::grdAuftraege_RowChange(bool neuZeigen) {
    Procedure(*trace_, "grdAuftraege_AfterRowColChange").report([&] {
        if (session_ == nullptr) {
            return;
        }
        // The control reads the office for the order it shows: only another order, or one whose
        // key changed, is shown anew.
        const std::shared_ptr<CAuftrag> auftrag = auftraege_->order(aktuelleAuftragZeile());
        const bool gezeigt = auftrag == nullptr ? leerGezeigt_ : gezeigt_.lock() == auftrag;
        if (neuZeigen || !gezeigt) {
            ctlAuftrag1_->AuftragZeigen(auftrag);
            gezeigt_ = auftrag;
            leerGezeigt_ = auftrag == nullptr;
            if (tab() != 0) {
                ctlAuftrag1_->EnableControls(false);
            }
        }
        EnableButtons();
    });
}

void StoppUhrWidget::ctlAuftrag1_AuftragGeaendert() {
    if (session_ == nullptr) {
        return;
    }
    auftraege_->zeileAktualisieren(aktuelleAuftragZeile());
    if (tab() == 1) {
        LeistungenAnzeigen();
    }
    EnableButtons();
    tray_->zustandStellen();
}

void StoppUhrWidget::rechtsKlick(QTableView& grid, const QPoint& at, const QPoint& global) {
    const QModelIndex index = grid.indexAt(at);
    if (index.isValid()) {
        QItemSelectionModel& auswahl = *grid.selectionModel();
        // A marked row keeps the marking; any other row becomes the only marked one.
        const auto flags = auswahl.isRowSelected(index.row())
                               ? QItemSelectionModel::NoUpdate
                               : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        auswahl.setCurrentIndex(grid.model()->index(index.row(), 2), flags);
    }
    PopUpMenue(global);
}

void StoppUhrWidget::fokusFangen(bool leistungen) {
    Procedure(*trace_,
              leistungen ? "txtDummyPicButtonsLeistung_GotFocus" : "txtDummyPicButtons_GotFocus")
        .report([&] {
            if (leistungen) {
                grdLeistungen_->setFocus(Qt::TabFocusReason);
            } else if (session_ != nullptr && session_->AuftragLaeuft() &&
                       auftraege_->order(aktuelleAuftragZeile()) != nullptr) {
                ctlAuftrag1_->FocusMandant();
            } else {
                tabStoppUhr_->tabBar()->setFocus(Qt::TabFocusReason);
            }
        });
}

bool StoppUhrWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched->objectName() == QLatin1String("txtDummyPicButtons")) {
            fokusFangen(false);
            return false;
        }
        if (watched->objectName() == QLatin1String("txtDummyPicButtonsLeistung")) {
            fokusFangen(true);
            return false;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        for (QTableView* grid : {grdAuftraege_, grdLeistungen_}) {
            if (watched == grid->viewport() && mouse->button() == Qt::RightButton) {
                Procedure(*trace_, grid == grdAuftraege_ ? "grdAuftraege_MouseDown"
                                                         : "grdLeistungen_MouseDown")
                    .report([&] {
                        if (session_ != nullptr) {
                            rechtsKlick(*grid, mouse->position().toPoint(),
                                        mouse->globalPosition().toPoint());
                        }
                    });
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress && watched == grdAuftraege_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            befehl("grdAuftraege_KeyDown", [this] { AuftragStarten(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orv::ui
