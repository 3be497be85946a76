#include "ui/dialogs/frmLeistung.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/widgets/ctlButton.h"
#include "office/widgets/ctlTextBox.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "ui/controls/OfficeIcons.h"
#include "ui/controls/ctlAuftrag.h"
#include "ui/controls/ctlMskzeit.h"
#include "ui/controls/ctlZeitEingabe.h"
#include "ui/dialogs/ModalDialog.h"
#include "ui/dialogs/TexteGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace orv::ui {
namespace {

constexpr std::int32_t kModusMitZeit = 1;
const QString kTitel = QStringLiteral("Stoppuhren");

}  // namespace

FrmLeistungDialog::FrmLeistungDialog(platform::PlatformFactory& platform)
    : platform_(platform),
      trace_(std::make_unique<ObjectTrace>(platform, QStringLiteral("frmLeistung"))),
      layout_(new QVBoxLayout(this)),
      ctlZeitEingabe1_(new ctlZeitEingabe(this)),
      lblExternezeit_(new QLabel(this)),
      ctlNotiz_(new office::ctlTextBox(this)),
      grdTexte_(new TexteGrid(this)),
      ctlExtern_(new office::ctlButton(this, "ctlExtern", QStringLiteral("e&xterne Zeit"))),
      ctlOk_(new office::ctlButton(this, "ctlOk", QStringLiteral("&OK"))),
      ctlCancel_(new office::ctlButton(this, "ctlCancel", QStringLiteral("&Abbrechen"))) {
    setObjectName(QStringLiteral("frmLeistung"));
    setWindowTitle(QStringLiteral("Leistung bearbeiten"));
    ctlZeitEingabe1_->setObjectName(QStringLiteral("ctlZeitEingabe1"));
    lblExternezeit_->setObjectName(QStringLiteral("lblExternezeit"));
    lblExternezeit_->hide();
    ctlNotiz_->setObjectName(QStringLiteral("ctlNotiz"));
    ctlNotiz_->Caption(QStringLiteral("Notiz"));

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("ActiveBar21"));
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setFocusPolicy(Qt::NoFocus);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);  // no customising
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto werkzeug = [&](const char* name, const QString& text, std::int32_t icon) {
        QAction* action = toolbar->addAction(officeIcon(platform_, icon), text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnuAuftrag_ = werkzeug("mnuAuftrag", QStringLiteral("Auftrag auswählen"), 1062);
    mnuOk_ = werkzeug("mnuOk", QStringLiteral("OK"), 1162);
    mnuCancel_ = werkzeug("mnuCancel", QStringLiteral("Abbrechen"), 1137);
    mnuAuftrag_->setToolTip(QStringLiteral("Auftrag auswählen (F11)"));

    auto* picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    auto* knoepfe = new QHBoxLayout(picButtons);
    knoepfe->setContentsMargins(0, 0, 0, 0);
    knoepfe->addWidget(ctlExtern_);
    knoepfe->addStretch();
    knoepfe->addWidget(ctlOk_);
    knoepfe->addWidget(ctlCancel_);
    // Enter is the dialog's own: every route to OK goes through the same checks.
    for (office::ctlButton* button : {ctlExtern_, ctlOk_, ctlCancel_}) {
        button->setAutoDefault(false);
    }

    layout_->setMenuBar(toolbar);
    layout_->addWidget(ctlZeitEingabe1_);
    layout_->addWidget(lblExternezeit_);
    layout_->addWidget(ctlNotiz_);
    layout_->addWidget(grdTexte_, 1);
    layout_->addWidget(picButtons);

    connect(ctlOk_, &QPushButton::clicked, this, [this] { bestaetigen(); });
    connect(mnuOk_, &QAction::triggered, this, [this] { bestaetigen(); });
    connect(ctlCancel_, &QPushButton::clicked, this, &FrmLeistungDialog::reject);
    connect(mnuCancel_, &QAction::triggered, this, &FrmLeistungDialog::reject);
    connect(mnuAuftrag_, &QAction::triggered, this, [this] { auftragBrowsen(); });
    connect(ctlExtern_, &QPushButton::clicked, this, [this] { externeZeit(); });
    connect(ctlZeitEingabe1_, &ctlZeitEingabe::EnableControls, this, [this] { EnableControls(); });
    // OK follows what is typed, so the tool and the button never offer a stale state.
    connect(ctlZeitEingabe1_->findChild<ctlMskzeit*>(), &ctlMskzeit::Change, this,
            [this] { EnableControls(); });
    connect(ctlNotiz_, &office::ctlTextBox::Change, this, [this] { EnableControls(); });
    connect(grdTexte_, &TexteGrid::TexteGeaendert, this, [this] { EnableControls(); });
}

FrmLeistungDialog::~FrmLeistungDialog() = default;

template <typename Body>
void FrmLeistungDialog::ereignis(const char* procedure, Body&& body) {
    Procedure(*trace_, procedure).report(std::forward<Body>(body));
}

std::int32_t FrmLeistungDialog::LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds,
                                                 std::int32_t& auftragId, bool unproduktiv) {
    Procedure p(*trace_, "LeistungAnzeigen");
    return p.run([&] {
        leistung_ = &entry;
        session_ = &entry.Auftrag().StoppUhren();
        unproduktiv_ = unproduktiv;
        neu_ = entry.Id() == 0 && !unproduktiv;
        sekundenBeiOeffnung_ = seconds;
        auftragIdBisher_ = entry.Auftrag().AuftragId();
        ergebnis_ = BearbeitungStati_Abbruch;
        auftragGeaendert_ = false;

        const CAuftrag& auftrag = entry.Auftrag();
        auftragKopie_ = std::make_shared<CAuftrag>(*session_);
        auftragKopie_->Init(*session_, auftrag.Leerlauf(), 0, true);
        auftragKopie_->AuftragAendern(auftrag.AuftragId());
        leistungKopie_ = std::make_shared<cLeistung>(*session_);
        leistungKopie_->Init(*auftragKopie_, false);

        ctlAuftrag1_ = new ctlAuftrag(*session_, this);
        ctlAuftrag1_->setObjectName(QStringLiteral("ctlAuftrag1"));
        ctlAuftrag1_->AbbruchZiel(ctlCancel_);
        layout_->insertWidget(0, ctlAuftrag1_);
        // After the control's own handling (F11 shows the order it picked only afterwards).
        connect(
            ctlAuftrag1_, &ctlAuftrag::AuftragGeaendert, this,
            [this] {
                auftragGeaendert_ = true;
                EnableControls();
            },
            Qt::QueuedConnection);
        setTabOrder(ctlAuftrag1_, ctlZeitEingabe1_);
        setTabOrder(ctlZeitEingabe1_, ctlNotiz_);
        setTabOrder(ctlNotiz_, grdTexte_);
        setTabOrder(grdTexte_, ctlExtern_);
        setTabOrder(ctlExtern_, ctlOk_);
        setTabOrder(ctlOk_, ctlCancel_);

        ctlZeitEingabe1_->Modus(modus_ == kModusMitZeit
                                    ? ctlZeitEingabe::kOhneZielzeiten | ctlZeitEingabe::kUmbuchen
                                    : ctlZeitEingabe::kOhneZielzeiten);
        ctlExtern_->setVisible(modus_ == 0 && neu_);
        if (unproduktiv_) {
            setWindowTitle(QStringLiteral("Leistung für unproduktive Zeit bearbeiten"));
        }
        ObjectToView();
        EnableControls();
        zeigeModal(*this, platform_);
        if (ergebnis_ == BearbeitungStati_Geaendert) {
            seconds = sekundenZurueck_;
            auftragId = auftragIdZurueck_;
        }
        return ergebnis_;
    });
}

void FrmLeistungDialog::ObjectToView() {
    Procedure p(*trace_, "ObjectToView");
    p.run([&] {
        ctlAuftrag1_->LeistungAnzeigen(leistungKopie_);
        ctlZeitEingabe1_->UnproduktiveZeit(unproduktiv_);
        ctlZeitEingabe1_->Leistung(leistung_->shared_from_this());
        // The day closing books the idle entry's own seconds: shown, not typed.
        ctlZeitEingabe1_->setEnabled(!unproduktiv_);
        ctlNotiz_->Text(leistung_->Notiz());
        CStoppUhren* session = session_;
        grdTexte_->Anzeigen(*leistung_, [session](const QString& text) {
            QString ersetzt = text;
            return session->StandardLeistungsText(ersetzt);
        });
        ctlAuftrag1_->setFocus(Qt::OtherFocusReason);
    });
}

void FrmLeistungDialog::AktualisiereZeiten() {
    if (session_ != nullptr) {
        ctlZeitEingabe1_->ZielZeitText(session_->LeerlaufZeitText());
    }
}

bool FrmLeistungDialog::geaendert() const {
    return ctlZeitEingabe1_->Sekunden() != leistung_->Sekunden() ||
           ctlAuftrag1_->AuftragId() != auftragIdBisher_ ||
           ctlNotiz_->Text() != leistung_->Notiz() || grdTexte_->Geaendert() ||
           externVon_.isValid();
}

QString FrmLeistungDialog::hinderungsgrund() const {
    const std::int32_t auftragId = ctlAuftrag1_->AuftragId();
    if (unproduktiv_) {
        return auftragId < 1 ? QStringLiteral(
                                   "Um die unproduktive Leistung buchen zu können, "
                                   "muss der Auftrag angegeben werden.")
                             : QString();
    }
    if (ctlAuftrag1_->FakturierterAuftrag() && !session_->LeistungenAufFakturierteAuftraege()) {
        return QStringLiteral("Auf fakturierte Auftrag können keine Leistungen erfasst werden!");
    }
    const std::int32_t sekunden = ctlZeitEingabe1_->Sekunden();
    if (modus_ == kModusMitZeit || neu_) {
        if (auftragId < 1) {
            return QStringLiteral("Bitte geben Sie den Auftrag der neuen Leistung an.");
        }
        if (sekunden < 1) {
            return QStringLiteral(
                "Bitte geben Sie die Zeit der neuen Leistung an; "
                "00:00:00 ist keine Zeit.");
        }
    }
    if (modus_ == kModusMitZeit) {
        return sekunden > sekundenBeiOeffnung_
                   ? QStringLiteral("Es können höchstens %1 umgebucht werden.")
                         .arg(session_->SekundenZeit(sekundenBeiOeffnung_))
                   : QString();
    }
    // Only what the entry gains comes from the idle time: a long entry can always be
    // shortened or given a note.
    const std::int64_t zuwachs = std::int64_t{sekunden} - leistung_->Sekunden();
    if (zuwachs > session_->LeerlaufAuftrag().Sekunden()) {
        return QStringLiteral("Differenz aus bisheriger Zeit und neuer Zeit (") +
               session_->SekundenZeit(static_cast<std::int32_t>(zuwachs)) +
               QStringLiteral(") ist größer als Leerlaufzeit (") + session_->LeerlaufZeitText() +
               QStringLiteral(")");
    }
    return {};
}

void FrmLeistungDialog::EnableControls() {
    ereignis("EnableControls", [&] {
        const bool ok =
            hinderungsgrund().isEmpty() && (unproduktiv_ || modus_ == kModusMitZeit || geaendert());
        ctlOk_->setEnabled(ok);
        mnuOk_->setEnabled(ok);
    });
}

void FrmLeistungDialog::bestaetigen() {
    ereignis("ctlOk_Click", [&] {
        ctlAuftrag1_->PruefeAuftrag();
        grdTexte_->BearbeitungAbschliessen();
        if (!unproduktiv_ && !ctlZeitEingabe1_->Pruefen()) {
            ctlZeitEingabe1_->setFocus(Qt::OtherFocusReason);
            return;
        }
        const QString grund = hinderungsgrund();
        if (!grund.isEmpty()) {
            meldung(grund);
            EnableControls();
            return;
        }
        // Confirming what was not changed changes nothing.
        if (!unproduktiv_ && modus_ != kModusMitZeit && !geaendert()) {
            reject();
            return;
        }
        ViewToObject();
        ergebnis_ = BearbeitungStati_Geaendert;
        done(QDialog::Accepted);
    });
}

void FrmLeistungDialog::ViewToObject() {
    Procedure p(*trace_, "ViewToObject");
    p.run([&] {
        leistung_->Notiz(ctlNotiz_->Text());
        grdTexte_->Uebernehmen(*leistung_);
        if (externVon_.isValid()) {
            leistung_->Beginn(externVon_);
            leistung_->Ende(externBis_);
        }
        // A new entry sits under an order of its own, outside the session: it takes the
        // office order now; the session files it there.
        if (neu_) {
            leistung_->AuftragAendernVorlauefig(ctlAuftrag1_->AuftragId());
        }
        sekundenZurueck_ = unproduktiv_ ? leistung_->Sekunden() : ctlZeitEingabe1_->Sekunden();
        auftragIdZurueck_ = ctlAuftrag1_->AuftragId();
    });
}

void FrmLeistungDialog::reject() {
    ergebnis_ = BearbeitungStati_Abbruch;
    QDialog::reject();
}

void FrmLeistungDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        bestaetigen();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmLeistungDialog::closeEvent(QCloseEvent* event) {
    // The day closing's window closed by its frame confirms, as OK does; only Cancel and
    // Escape let the day go on.
    if (unproduktiv_ && isVisible() && ergebnis_ != BearbeitungStati_Geaendert) {
        event->ignore();
        bestaetigen();
        return;
    }
    QDialog::closeEvent(event);
}

void FrmLeistungDialog::externeZeit() {
    ereignis("ctlExtern_Click", [&] {
        std::int32_t sekunden = 0;
        QDateTime von;
        QDateTime bis;
        if (session_->ExterneZeitErfassen(sekunden, von, bis) != 1) {
            return;
        }
        externVon_ = von;
        externBis_ = bis;
        lblExternezeit_->setText(QStringLiteral("Externe Zeit: ") +
                                 von.toString(QStringLiteral("hh:mm")) + QStringLiteral(" - ") +
                                 bis.toString(QStringLiteral("hh:mm")));
        lblExternezeit_->show();
        ctlZeitEingabe1_->Sekunden(sekunden);
        ctlZeitEingabe1_->setFocus(Qt::OtherFocusReason);
        EnableControls();
    });
}

void FrmLeistungDialog::auftragBrowsen() {
    ereignis("ActiveBar21_Click", [&] {
        // The copy takes the picked order; the entry gets it at OK.
        if (auftragKopie_->AuftragBrowsen()) {
            ctlAuftrag1_->LeistungAnzeigen(leistungKopie_);
            auftragGeaendert_ = true;
            EnableControls();
        }
    });
}

void FrmLeistungDialog::meldung(const QString& text) {
    platform_.messageBoxes().show(text, platform::MsgButtons::OkOnly,
                                  platform::MsgIcon::Information, kTitel);
}

}  // namespace orv::ui
