#include "ui/dialogs/frmLeistungUmbuchen.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/widgets/ctlButton.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/Twips.h"
#include "ui/controls/ctlZeitEingabe.h"
#include "ui/dialogs/LeistungenModel.h"
#include "ui/dialogs/ModalDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::ui {
namespace {

const QString kTitel = QStringLiteral("vorläufige Leistung umbuchen");

office::ctlButton* knopf(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new office::ctlButton(parent, name, caption);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FrmLeistungUmbuchenDialog::FrmLeistungUmbuchenDialog(platform::PlatformFactory& platform)
    : platform_(platform),
      trace_(std::make_unique<ObjectTrace>(platform, QStringLiteral("frmLeistungUmbuchen"))),
      fraUmbuchen_(new QGroupBox(this)),
      optVorlaeufig_(new QRadioButton(QStringLiteral("&vorläufige Leistung"), fraUmbuchen_)),
      optUnproduktiv_(new QRadioButton(QStringLiteral("&unproduktive Leistung"), fraUmbuchen_)),
      lblQuelle_(new QLabel(fraUmbuchen_)),
      ctlZeitEingabe1_(new ctlZeitEingabe(fraUmbuchen_)),
      grdLeistungen_(new QTableView(fraUmbuchen_)),
      leistungen_(new LeistungenModel(this)),
      ctlOk_(knopf(this, "ctlOk", QStringLiteral("&OK"))),
      ctlNeueLeistung_(knopf(this, "ctlNeueLeistung", QStringLiteral("&neue Leistung"))),
      ctlCancel_(knopf(this, "ctlCancel", QStringLiteral("&Schließen"))) {
    setObjectName(QStringLiteral("frmLeistungUmbuchen"));
    setWindowTitle(kTitel);
    fraUmbuchen_->setObjectName(QStringLiteral("fraUmbuchen"));
    optVorlaeufig_->setObjectName(QStringLiteral("optUmbuchenAuf0"));
    optUnproduktiv_->setObjectName(QStringLiteral("optUmbuchenAuf1"));
    lblQuelle_->setObjectName(QStringLiteral("lblQuelle"));
    ctlZeitEingabe1_->setObjectName(QStringLiteral("ctlZeitEingabe1"));
    grdLeistungen_->setObjectName(QStringLiteral("grdLeistungen"));
    ctlNeueLeistung_->ToolTipText(QStringLiteral("auf neue Leistung umbuchen"));
    auto* optionen = new QButtonGroup(this);
    optionen->addButton(optVorlaeufig_);
    optionen->addButton(optUnproduktiv_);
    optVorlaeufig_->setChecked(true);

    grdLeistungen_->setModel(leistungen_);
    grdLeistungen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLeistungen_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLeistungen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLeistungen_->setTabKeyNavigation(false);
    setzeZugaenglich(*grdLeistungen_, QStringLiteral("Leistungen"));
    grdLeistungen_->verticalHeader()->hide();
    grdLeistungen_->verticalHeader()->setMinimumSectionSize(px(315));
    const std::pair<int, int> breiten[] = {
        {LeistungenModel::Mandant, 2000}, {LeistungenModel::AufArtNr, 750},
        {LeistungenModel::AngNr, 750},    {LeistungenModel::Angelegenheit, 1500},
        {LeistungenModel::Monat, 750},    {LeistungenModel::Jahr, 750},
        {LeistungenModel::LfdNr, 750},    {LeistungenModel::ObjNr, 750},
        {LeistungenModel::Text, 2000},    {LeistungenModel::Zeit, 1000}};
    for (int spalte = 0; spalte < LeistungenModel::Spalten; ++spalte) {
        grdLeistungen_->setColumnHidden(spalte, true);
    }
    for (const auto& [spalte, twips] : breiten) {
        grdLeistungen_->setColumnHidden(spalte, false);
        grdLeistungen_->setColumnWidth(spalte, px(twips));
    }

    auto* optionenZeile = new QHBoxLayout;
    optionenZeile->addWidget(optVorlaeufig_);
    optionenZeile->addWidget(optUnproduktiv_);
    optionenZeile->addStretch();
    auto* rahmen = new QVBoxLayout(fraUmbuchen_);
    rahmen->addLayout(optionenZeile);
    rahmen->addWidget(lblQuelle_);
    rahmen->addWidget(ctlZeitEingabe1_);
    rahmen->addWidget(grdLeistungen_, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    for (office::ctlButton* button : {ctlOk_, ctlNeueLeistung_, ctlCancel_}) {
        knoepfe->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraUmbuchen_, 1);
    layout->addLayout(knoepfe);
    setTabOrder(optVorlaeufig_, optUnproduktiv_);
    setTabOrder(optUnproduktiv_, ctlZeitEingabe1_);
    setTabOrder(ctlZeitEingabe1_, grdLeistungen_);
    setTabOrder(grdLeistungen_, ctlOk_);
    setTabOrder(ctlOk_, ctlNeueLeistung_);
    setTabOrder(ctlNeueLeistung_, ctlCancel_);
    resize(px(12000), px(6000));

    connect(optionen, &QButtonGroup::buttonClicked, this,
            [this] { ereignis("optUmbuchenAuf_Click", [this] { optUmbuchenAufClick(); }); });
    connect(grdLeistungen_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        ereignis("grdLeistungen_SelChange", [this] {
            ZeitZielLeistungAktualisieren();
            EnableButtons();
        });
    });
    connect(ctlZeitEingabe1_, &ctlZeitEingabe::EnableControls, this, [this] { EnableButtons(); });
    connect(ctlOk_, &QPushButton::clicked, this, [this] { umbuchen(); });
    connect(ctlNeueLeistung_, &QPushButton::clicked, this, [this] { neueLeistung(); });
    connect(ctlCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

FrmLeistungUmbuchenDialog::~FrmLeistungUmbuchenDialog() = default;

template <typename Body>
void FrmLeistungUmbuchenDialog::ereignis(const char* procedure, Body&& body) {
    Procedure(*trace_, procedure).report(std::forward<Body>(body));
}

std::int32_t FrmLeistungUmbuchenDialog::LeistungUmbuchen(cLeistung& entry) {
    Procedure p(*trace_, "LeistungUmbuchen");
    return p.run([&] {
        fraUmbuchen_->setTitle(QStringLiteral("vorläufige Leistung umbuchen auf ..."));
        return anzeigen(entry, true);
    });
}

std::int32_t FrmLeistungUmbuchenDialog::LeerlaufUmbuchen(cLeistung& idleEntry) {
    Procedure p(*trace_, "LeerlaufUmbuchen");
    return p.run([&] {
        fraUmbuchen_->setTitle(
            QStringLiteral("unproduktive Zeit auf vorläufige Leistung umbuchen"));
        optVorlaeufig_->hide();
        optUnproduktiv_->hide();
        return anzeigen(idleEntry, false);
    });
}

std::int32_t FrmLeistungUmbuchenDialog::anzeigen(cLeistung& quelle, bool eintragsModus) {
    quelle_ = &quelle;
    session_ = &quelle.Auftrag().StoppUhren();
    eintragsModus_ = eintragsModus;
    ergebnis_ = BearbeitungStati_Abbruch;
    LeistungMarkieren({});
    ctlZeitEingabe1_->setFocus(Qt::OtherFocusReason);
    zeigeModal(*this, platform_);
    return ergebnis_;
}

void FrmLeistungUmbuchenDialog::LeistungMarkieren(const QString& leistungKey) {
    ctlZeitEingabe1_->Modus(ctlZeitEingabe::kUmbuchen);
    ctlZeitEingabe1_->Leistung(quelle_->shared_from_this());
    if (eintragsModus_) {
        ctlZeitEingabe1_->QuellZeitText(QStringLiteral("00:00:00"));
    }
    lblQuelle_->setText(QStringLiteral("Zeit der Herkunfts-Leistung: ") + quelle_->ZeitText());
    optUmbuchenAufClick();
    const int row = leistungen_->zeile(leistungKey);
    if (row >= 0) {
        grdLeistungen_->selectRow(row);
    }
}

bool FrmLeistungUmbuchenDialog::aufLeerlauf() const {
    return eintragsModus_ && optUnproduktiv_->isChecked() && !quelle_->Auftrag().Leerlauf();
}

void FrmLeistungUmbuchenDialog::optUmbuchenAufClick() {
    if (aufLeerlauf()) {
        leistungen_->leeren();
    } else {
        leistungen_->fuellen(*session_, quelle_);
    }
    grdLeistungen_->setEnabled(!aufLeerlauf());
    ZeitZielLeistungAktualisieren();
    EnableButtons();
}

cLeistung* FrmLeistungUmbuchenDialog::zielLeistung() const {
    const QModelIndexList rows = grdLeistungen_->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : leistungen_->leistung(rows.front().row());
}

void FrmLeistungUmbuchenDialog::ZeitZielLeistungAktualisieren() {
    const cLeistung* ziel = zielLeistung();
    ctlZeitEingabe1_->ZielLeistungZeitBisher(aufLeerlauf() ? session_->LeerlaufAuftrag().Sekunden()
                                             : ziel != nullptr ? ziel->Sekunden()
                                                               : 0);
}

bool FrmLeistungUmbuchenDialog::betragMoeglich() const {
    const std::int32_t betrag = ctlZeitEingabe1_->Sekunden();
    return betrag >= 1 && betrag <= std::min(quelle_->Sekunden(), quelle_->Auftrag().Sekunden());
}

void FrmLeistungUmbuchenDialog::EnableButtons() {
    ctlOk_->setEnabled(betragMoeglich() && (aufLeerlauf() || zielLeistung() != nullptr));
    ctlNeueLeistung_->setEnabled(betragMoeglich());
}

void FrmLeistungUmbuchenDialog::umbuchen() {
    ereignis("ctlOk_Click", [&] {
        if (!ctlZeitEingabe1_->Pruefen()) {
            return;
        }
        EnableButtons();
        if (!ctlOk_->isEnabled()) {
            return;
        }
        const std::int32_t ergebnis = session_->Umbuchen(
            *quelle_, aufLeerlauf() ? nullptr : zielLeistung(), ctlZeitEingabe1_->Sekunden());
        if (ergebnis == BearbeitungStati_Geloescht) {
            quelleGeloescht();
            return;
        }
        ergebnis_ = BearbeitungStati_Geaendert;
        for (const QModelIndex& row : grdLeistungen_->selectionModel()->selectedRows()) {
            leistungen_->aktualisieren(row.row());
        }
        ergebnisZeigen();
    });
}

void FrmLeistungUmbuchenDialog::neueLeistung() {
    ereignis("ctlNeueLeistung_Click", [&] {
        if (!ctlZeitEingabe1_->Pruefen() || !betragMoeglich()) {
            return;
        }
        QString auftragKey;
        QString leistungKey;
        const std::int32_t ergebnis = session_->NeueLeistungUmbuchen(
            *quelle_, auftragKey, leistungKey, ctlZeitEingabe1_->Sekunden());
        if (ergebnis == BearbeitungStati_Geloescht) {
            quelleGeloescht();
            return;
        }
        if (ergebnis == BearbeitungStati_Geaendert) {
            ergebnis_ = BearbeitungStati_Geaendert;
            LeistungMarkieren(leistungKey);
            ergebnisZeigen();
        }
    });
}

void FrmLeistungUmbuchenDialog::ergebnisZeigen() {
    ctlZeitEingabe1_->Leistung(quelle_->shared_from_this());
    ctlZeitEingabe1_->Sekunden(0);
    lblQuelle_->setText(QStringLiteral("Zeit der Herkunfts-Leistung: ") + quelle_->ZeitText());
    ZeitZielLeistungAktualisieren();
    EnableButtons();
    ctlZeitEingabe1_->setFocus(Qt::OtherFocusReason);
}

void FrmLeistungUmbuchenDialog::quelleGeloescht() {
    ergebnis_ = BearbeitungStati_Geloescht;
    platform_.messageBoxes().show(
        QStringLiteral("Gesamte Zeit der Herkunfts-Leistung wurde umgebucht. Leistung wird "
                       "gelöscht."),
        platform::MsgButtons::OkOnly, platform::MsgIcon::Information, kTitel);
    done(QDialog::Accepted);
}

void FrmLeistungUmbuchenDialog::keyPressEvent(QKeyEvent* event) {
    // Enter moves as OK does, after the same checks; Escape closes as "Schließen".
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        umbuchen();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orv::ui
