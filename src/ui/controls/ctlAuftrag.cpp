#include "ui/controls/ctlAuftrag.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/widgets/LeaveValidation.h"
#include "office/widgets/ctlAufArtAng.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlMandant.h"
#include "office/widgets/ctlTextBox.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OrderObjects.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/BgrColor.h"
#include "ui/controls/DropList.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/Twips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace orv::ui {
namespace {

constexpr qsizetype kTextVorgabeLaenge = 64;
const QString kTitel = QStringLiteral("Stoppuhren");

office::ctlTextBox* textFeld(QWidget* parent, const char* name, const QString& caption,
                             int maxLength, bool numerisch) {
    auto* field = new office::ctlTextBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->Caption(caption);
    if (maxLength > 0) {
        field->MaxLength(maxLength);
    }
    field->NumericOnly(numerisch);
    field->RightAligned(numerisch);
    return field;
}

// The fields of an order key with the texts shown beside them.
struct Felder {
    std::int32_t mandantId = 0;
    std::int32_t auftragArtNr = 0;
    QString auftragArt;
    std::int32_t angelegenheitNr = 0;
    std::int32_t angelegenheitId = 0;
    QString angelegenheit;
    std::int32_t monat = 0;
    std::int32_t jahr = 0;
    std::int32_t lfdNr = 0;
    std::int32_t objektNr = 0;
    QString erweitert;
};

Felder felderVon(const CAuftrag& a) {
    return {a.MandantId(),
            a.AuftragArtNr(),
            a.AuftragArt(),
            a.AngelegenheitNr(),
            a.AngelegenheitId(),
            a.Angelegenheit(),
            a.Monat(),
            a.Jahr(),
            a.LfdNr(),
            a.ObjektNr(),
            a.AngelegenheitErweitert()};
}

Felder felderVon(const platform::OfficeOrder::Values& v) {
    return {v.mandantId,
            v.auftragArtNr,
            v.auftragArt,
            v.angelegenheitNr,
            v.angelegenheitId,
            v.angelegenheit,
            v.monat,
            v.jahr,
            v.lfdNr,
            v.objektNr,
            v.angelegenheitErweitert};
}

}  // namespace

ctlAuftrag::ctlAuftrag(CStoppUhren& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      trace_(std::make_unique<ObjectTrace>(session.platform(), QStringLiteral("ctlAuftrag"))),
      fraAuftrag_(new QGroupBox(QStringLiteral("Auftrag"), this)),
      ctlMandant_(new office::ctlMandant(session.platform().officeDatabase(), fraAuftrag_)),
      ctlAufArtAng_(new office::ctlAufArtAng(session.platform().officeDatabase(), fraAuftrag_)),
      ctlTermin_(new office::ctlDatePicker(fraAuftrag_)),
      ctlLfdNr_(textFeld(fraAuftrag_, "ctlLfdNr", QStringLiteral("Lfd-Nr"), 2, true)),
      dropList1_(new DropList(fraAuftrag_)),
      ctlAngErweitert_(textFeld(fraAuftrag_, "ctlAngErweitert", {}, 0, false)),
      ctlObjNr_(textFeld(fraAuftrag_, "ctlObjNr", QStringLiteral("Objekt-Nr"), 5, true)),
      lblObjekt_(new QLabel(QStringLiteral("<Objekt>"), fraAuftrag_)),
      ctlTextVorgabe_(textFeld(fraAuftrag_, "ctlTextVorgabe", QStringLiteral("Leistungstext"),
                               kTextVorgabeLaenge, false)),
      lblHiweis_(new QLabel(fraAuftrag_)),
      txtFocusDummy_(new QLineEdit(this)) {
    fraAuftrag_->setObjectName(QStringLiteral("fraAuftrag"));
    ctlMandant_->setObjectName(QStringLiteral("ctlMandant"));
    ctlAufArtAng_->setObjectName(QStringLiteral("ctlAufArtAng"));
    ctlTermin_->setObjectName(QStringLiteral("ctlTermin"));
    dropList1_->setObjectName(QStringLiteral("DropList1"));
    lblObjekt_->setObjectName(QStringLiteral("lblObjekt"));
    lblObjekt_->setTextFormat(Qt::PlainText);
    lblHiweis_->setObjectName(QStringLiteral("lblHiweis"));
    txtFocusDummy_->setObjectName(QStringLiteral("txtFocusDummy"));

    ctlMandant_->Required(true);
    ctlMandant_->InputWidth(px(800));
    ctlAufArtAng_->InputWidth(px(800));
    ctlTermin_->Caption(QStringLiteral("Termin"));
    ctlTermin_->Format(QStringLiteral("MM.yyyy"));
    ctlTermin_->StandardTag(1);
    ctlTermin_->ButtonToolTip(QStringLiteral("Anzeige des Kalenders (F4)"));
    ctlLfdNr_->Text(QStringLiteral("1"));
    ctlLfdNr_->Required(true);
    ctlLfdNr_->lineEdit()->setFixedWidth(px(500));
    ctlAngErweitert_->Locked(true);
    ctlAngErweitert_->setEnabled(false);
    ctlAngErweitert_->setToolTip(QStringLiteral("erweiterte Bezeichnung der Angelegenheit"));
    // Shown, never typed into: no tab stop.
    ctlAngErweitert_->lineEdit()->setFocusPolicy(Qt::ClickFocus);
    ctlObjNr_->Text(QStringLiteral("1"));
    ctlObjNr_->Required(true);
    ctlObjNr_->lineEdit()->setFixedWidth(px(800));
    ctlTextVorgabe_->setEnabled(false);
    QPalette rot = lblHiweis_->palette();
    rot.setColor(QPalette::WindowText, bgrColor(0x0000FF));
    lblHiweis_->setPalette(rot);
    lblHiweis_->hide();
    // Behind the frame: it only marks the focus leaving the control.
    txtFocusDummy_->setGeometry(px(50), px(50), 1, 1);
    txtFocusDummy_->lower();
    setzeZugaenglich(*txtFocusDummy_, QStringLiteral("Ende der Auftragsangaben"));
    setzeZugaenglich(*this, QStringLiteral("Auftrag"));

    const int captionWidth =
        std::max({px(1215), ctlMandant_->captionWidthHint(), ctlAufArtAng_->captionWidthHint(),
                  ctlTermin_->captionWidthHint(), ctlObjNr_->captionWidthHint(),
                  ctlTextVorgabe_->captionWidthHint()});
    for (office::CaptionedField* field : std::initializer_list<office::CaptionedField*>{
             ctlMandant_, ctlAufArtAng_, ctlTermin_, ctlObjNr_, ctlTextVorgabe_}) {
        field->CaptionWidth(captionWidth);
    }
    auto* grid = new QGridLayout(fraAuftrag_);
    grid->addWidget(ctlMandant_, 0, 0, 1, 4);
    grid->addWidget(ctlAufArtAng_, 1, 0, 1, 4);
    grid->addWidget(ctlTermin_, 2, 0, Qt::AlignLeft);
    grid->addWidget(ctlLfdNr_, 2, 1);
    grid->addWidget(ctlAngErweitert_, 2, 2, 1, 2);
    grid->addWidget(ctlObjNr_, 3, 0, Qt::AlignLeft);
    grid->addWidget(lblObjekt_, 3, 1, 1, 2);
    grid->addWidget(lblHiweis_, 3, 3, Qt::AlignRight);
    grid->addWidget(ctlTextVorgabe_, 4, 0, 1, 4);
    grid->setColumnStretch(2, 1);

    const auto validieren = [this](QWidget* field, const char* procedure, auto&& body) {
        validierungen_.push_back(new office::LeaveValidation(field, [this, procedure, body] {
            // A field left for Cancel is not checked: Cancel must find nothing created.
            if (fuehrtZumAbbruch(QApplication::focusWidget())) {
                return true;
            }
            ereignis(procedure, body);
            return true;
        }));
    };
    validieren(ctlTermin_->dateEdit(), "ctlTermin_Validate", [this] {
        if (!hatObjektNr() && !mehrfachAnlage_) {
            pruefen();
        }
    });
    validieren(ctlLfdNr_->lineEdit(), "ctlLfdNr_Validate", [this] {
        if (!hatObjektNr()) {
            pruefen();
        }
    });
    validieren(ctlObjNr_->lineEdit(), "ctlObjNr_Validate", [this] { pruefen(); });
    validieren(ctlTextVorgabe_->lineEdit(), "ctlTextVorgabe_Validate",
               [this] { textVorgabeVerlassen(); });
    connect(ctlMandant_, &office::ctlMandant::Validate, this, [this] {
        ereignis("ctlMandant_Validate", [this] {
            if (auftrag_ && ctlMandant_->MandantId() >= 1) {
                session_.MandantVorgabe(ctlMandant_->MandantId());
            }
        });
    });
    connect(ctlAufArtAng_, &office::ctlAufArtAng::Validate, this, [this] {
        ereignis("ctlAufArtAng_Validate", [this] {
            Angelegenheitspruefung();
            tabFolge();
        });
    });
    // Installed after the validation, so Enter replaces a standard text's number before the
    // text is stored.
    ctlTextVorgabe_->lineEdit()->installEventFilter(this);
    ctlLfdNr_->lineEdit()->installEventFilter(this);
    dropList1_->Combo()->view()->installEventFilter(this);
    connect(dropList1_->Combo(), qOverload<int>(&QComboBox::activated), this, [this](int index) {
        ereignis("eDropListCombo_Click",
                 [&] { laufendeNummerGewaehlt(dropList1_->Combo()->itemText(index)); });
    });
    for (int key : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, key] { keyF(key); });
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* alt, QWidget* neu) { fokusGewechselt(alt, neu); });
    tabFolge();
    EnableControls(false);
}

ctlAuftrag::~ctlAuftrag() {
    // The focus leaving the dying fields is no leave of the control.
    disconnect(qApp, nullptr, this, nullptr);
    qDeleteAll(validierungen_);
}

template <typename Body>
void ctlAuftrag::ereignis(const char* procedure, Body&& body) {
    Procedure(*trace_, procedure).report(std::forward<Body>(body));
}

template <typename Body>
void ctlAuftrag::aufruf(const char* procedure, Body&& body) {
    Procedure(*trace_, procedure).run(std::forward<Body>(body));
}

void ctlAuftrag::FocusMandant() {
    ctlMandant_->setFocus(Qt::OtherFocusReason);
}

void ctlAuftrag::AuftragZeigen(std::shared_ptr<CAuftrag> auftrag) {
    aufruf("AuftragZeigen", [&] {
        auftrag_ = std::move(auftrag);
        eintragsModus_ = false;
        ObjectToView();
    });
}

void ctlAuftrag::Eigenschaftenanzeigen(std::shared_ptr<CAuftrag> auftrag) {
    aufruf("Eigenschaftenanzeigen", [&] {
        auftrag_ = std::move(auftrag);
        eigenschaftenModus_ = true;
        ObjectToView();
    });
}

void ctlAuftrag::LeistungAnzeigen(const std::shared_ptr<cLeistung>& leistung) {
    aufruf("LeistungAnzeigen", [&] {
        auftrag_ = leistung ? leistung->Auftrag().shared_from_this() : nullptr;
        eintragsModus_ = true;
        ObjectToView();
    });
}

void ctlAuftrag::ObjectToView() {
    geprueft_.reset();
    if (!auftrag_) {
        auftragId_ = 0;
        schluesselZeigen(0);
        ctlTextVorgabe_->Text({});
        fraAuftrag_->setTitle(QStringLiteral("Leerlauf..."));
        EnableControls(false);
        fakturiert_ = false;
        hinweisFakturiert(false);
        lblObjekt_->clear();
    } else {
        auftragId_ = auftrag_->AuftragId();
        fraAuftrag_->setEnabled(true);
        fraAuftrag_->setTitle(QStringLiteral("Auftrag des aktiven Vorganges"));
        schluesselZeigen(auftragId_);
        ctlTextVorgabe_->Text(auftrag_->LeistungsTextVorgabe());
        lblObjekt_->setText(auftrag_->ObjektBezeichnung());
        fakturiert_ = auftrag_->Fakturiert();
        hinweisFakturiert(fakturiert_);
        EnableControls(true);
        Angelegenheitspruefung();
        tabFolge();
    }
    setFixedHeight(std::max(px(eintragsModus_ || eigenschaftenModus_ ? 2175 : 2595),
                            fraAuftrag_->sizeHint().height()));
    if (eigenschaftenModus_) {
        fraAuftrag_->setTitle(QStringLiteral("Auftrag für unproduktive Zeiten"));
    }
}

void ctlAuftrag::schluesselZeigen(std::int32_t auftragId) {
    // Without an order every field is emptied, the matter's number and name too.
    Felder f;
    if (auftrag_ && (!eintragsModus_ || auftragId < 1 || auftragId == auftrag_->AuftragId())) {
        f = felderVon(*auftrag_);
    } else if (auftrag_) {
        std::unique_ptr<platform::OfficeOrder> order = session_.platform().createOfficeOrder();
        order->Load(auftragId);
        f = felderVon(order->values());
        order->Close();
    }
    ctlMandant_->MandantId(f.mandantId);
    ctlAufArtAng_->AuftragArtNr(f.auftragArtNr);
    ctlAufArtAng_->AngelegenheitNr(f.angelegenheitNr);
    ctlAufArtAng_->AngelegenheitId(f.angelegenheitId);
    ctlAufArtAng_->Angelegenheit(f.angelegenheit);
    ctlAufArtAng_->AuftragArt(f.auftragArt);
    ctlLfdNr_->Text(CAuftrag::GetNumberText(f.lfdNr));
    ctlObjNr_->Text(CAuftrag::GetNumberText(f.objektNr));
    ctlTermin_->Monat(f.monat);
    ctlTermin_->Jahr(f.jahr);
    ctlAngErweitert_->Text(f.erweitert);
}

void ctlAuftrag::EnableControls(bool enable) {
    aufruf("EnableControls", [&] {
        const std::initializer_list<office::CaptionedField*> felder{
            ctlMandant_, ctlAufArtAng_,    ctlTermin_,     ctlLfdNr_,
            ctlObjNr_,   ctlAngErweitert_, ctlTextVorgabe_};
        for (office::CaptionedField* field : felder) {
            field->Locked(true);
            field->setEnabled(false);
        }
        lblObjekt_->setEnabled(false);
        fraAuftrag_->setEnabled(false);
        if (!enable || !auftrag_) {
            return;
        }
        for (office::CaptionedField* field : felder) {
            // The extended description is the office's: shown here, changed there.
            field->Locked(field == ctlAngErweitert_);
            field->setEnabled(field != ctlAngErweitert_);
        }
        ctlTextVorgabe_->setVisible(!eintragsModus_ && !eigenschaftenModus_);
        lblObjekt_->setEnabled(true);
        fraAuftrag_->setEnabled(true);
        fraAuftrag_->setTitle(auftrag_->Leerlauf() ? QStringLiteral("Auftrag für unproduktive Zeit")
                              : eintragsModus_     ? QStringLiteral("Auftrag der Leistung")
                                                   : QStringLiteral("Auftrag"));
    });
}

bool ctlAuftrag::hatObjektNr() const {
    return vuv_ || bewertung_ || schenkung_ || erbschaft_ || grundsteuer_;
}

void ctlAuftrag::Angelegenheitspruefung() {
    if (!auftrag_) {
        return;
    }
    const std::int32_t angelegenheitId = ctlAufArtAng_->AngelegenheitId();
    const MatterFacts facts = matterFacts(session_.platform(), angelegenheitId);
    const QString kenner = QString::number(facts.kenner);
    mehrfachAnlage_ = facts.mehrfachAnlage;
    vuv_ = session_.fbIsVuV(kenner);
    bewertung_ = session_.fbIsBewertung(kenner);
    schenkung_ = session_.fbIsSchenkung(kenner);
    erbschaft_ = session_.fbIsErbschaft(kenner);
    grundsteuer_ = session_.fbIsGrundsteuer(kenner);
    // The order takes the facts of its own matter only: a matter typed but not (yet) taken
    // over must leave the order as it is, for a Cancel that follows.
    const bool eigene = angelegenheitId == auftrag_->AngelegenheitId();
    CAuftrag& a = *auftrag_;
    if (eigene) {
        a.MehrfachAnlage(mehrfachAnlage_);
        a.VuVAuftrag(vuv_);
        a.IsBewertung(bewertung_);
        a.IsSchenkung(schenkung_);
        a.IsErbschaft(erbschaft_);
        a.IsGrundsteuer(grundsteuer_);
    }
    ctlObjNr_->setEnabled(hatObjektNr() && !ctlObjNr_->Locked());
    ctlLfdNr_->setEnabled(mehrfachAnlage_ && !ctlLfdNr_->Locked());
    ctlAngErweitert_->setEnabled(mehrfachAnlage_);
    if (!mehrfachAnlage_) {
        ctlLfdNr_->Text({});
        if (eigene) {
            a.LfdNr(1);
        }
    } else if (eigene) {
        ctlLfdNr_->Text(QString::number(a.LfdNr()));
    }
    if (!hatObjektNr()) {
        ctlObjNr_->Text({});
        if (eigene) {
            a.ObjektNr(1);
            a.ObjektBezeichnung({});
        }
    } else if (eigene) {
        ctlObjNr_->Text(CAuftrag::GetNumberText(a.ObjektNr()));
        std::int32_t kennerNr = facts.kenner;
        a.ObjektBezeichnung(session_.fsBezeichnungObjektNr(a, kennerNr));
    }
    lblObjekt_->setText(eigene ? a.ObjektBezeichnung() : QString());
    if (angelegenheitId >= 1 && !a.Leerlauf() && eigene) {
        if (a.LeistungsTextVorgabe().isEmpty()) {
            a.LeistungsTextVorgabe(rt::left(ctlAufArtAng_->Angelegenheit(), kTextVorgabeLaenge));
        }
        ctlTextVorgabe_->Text(a.LeistungsTextVorgabe());
    }
}

void ctlAuftrag::tabFolge() {
    std::vector<QWidget*> folge{ctlMandant_, ctlAufArtAng_, ctlTermin_};
    if (mehrfachAnlage_ && hatObjektNr()) {
        folge.insert(folge.end(), {ctlObjNr_, ctlLfdNr_, ctlAngErweitert_});
    } else {
        folge.insert(folge.end(), {ctlLfdNr_, ctlAngErweitert_, ctlObjNr_});
    }
    folge.insert(folge.end(), {ctlTextVorgabe_, txtFocusDummy_});
    for (std::size_t i = 1; i < folge.size(); ++i) {
        QWidget::setTabOrder(folge[i - 1], folge[i]);
    }
}

AuftragSchluessel ctlAuftrag::schluessel() const {
    return {ctlMandant_->MandantId(),
            ctlAufArtAng_->AuftragArtNr(),
            ctlAufArtAng_->AngelegenheitNr(),
            ctlAufArtAng_->AngelegenheitId(),
            ctlTermin_->Monat(),
            ctlTermin_->Jahr(),
            feldZahl(ctlLfdNr_->Text()),
            feldZahl(ctlObjNr_->Text())};
}

bool ctlAuftrag::geaendert(const AuftragSchluessel& k) const {
    const CAuftrag& a = *auftrag_;
    // An empty running or object number means 1, as the office creates it.
    const auto alsEins = [](std::int32_t n) { return n == 0 ? 1 : n; };
    return k.mandantId != a.MandantId() || k.auftragArtNr != a.AuftragArtNr() ||
           k.angelegenheitNr != a.AngelegenheitNr() || alsEins(k.lfdNr) != a.LfdNr() ||
           alsEins(k.objektNr) != a.ObjektNr() || k.jahr != a.Jahr() || k.monat != a.Monat();
}

bool ctlAuftrag::vollstaendig(const AuftragSchluessel& k) const {
    constexpr std::int32_t kLfdNrMax = 99;
    constexpr std::int32_t kObjektNrMax = 99999;
    constexpr std::int32_t kJahrMax = 9999;
    return k.mandantId >= 1 && k.angelegenheitId >= 1 && k.auftragArtNr >= 1 &&
           k.angelegenheitNr >= 1 && k.lfdNr >= 0 && k.lfdNr <= kLfdNrMax && k.objektNr >= 0 &&
           k.objektNr <= kObjektNrMax && (!mehrfachAnlage_ || k.lfdNr > 0) &&
           (!hatObjektNr() || k.objektNr > 0) && k.jahr >= 1 && k.jahr <= kJahrMax &&
           k.monat >= 1 && k.monat <= 12;
}

void ctlAuftrag::PruefeAuftrag() {
    aufruf("PruefeAuftrag", [&] { pruefen(); });
}

void ctlAuftrag::pruefen() {
    if (!auftrag_ || prueftGerade_) {
        return;
    }
    const AuftragSchluessel key = schluessel();
    if (!geaendert(key) || geprueft_ == key) {
        return;
    }
    // A message box of the check takes the focus: that is no leave of the control.
    prueftGerade_ = true;
    struct Ende {
        bool& flag;
        ~Ende() { flag = false; }
    } ende{prueftGerade_};
    geprueft_ = key;
    // An incomplete key is still being typed: nothing is looked up, nothing said.
    if (!vollstaendig(key)) {
        return;
    }
    try {
        trace_->trace(QStringLiteral("OrderLookup.Search"));
        GefundenerAuftrag gefunden = findOrder(session_.platform(), key);
        if (gefunden.auftragId == 0 && session_.RechtAuftragBrowser()) {
            trace_->trace(QStringLiteral("OrderService 4"));
            gefunden.auftragId = createOrder(session_.platform(), key,
                                             static_cast<std::int32_t>(window()->internalWinId()));
        }
        if (gefunden.auftragId == 0) {
            meldung(session_.RechtAuftragBrowser()
                        ? QStringLiteral("Der Auftrag konnte nicht angelegt werden.")
                        : QStringLiteral("Der Auftrag existiert nicht. Die Auftragsanlage ist "
                                         "jedoch durch die Benutzerrechte verweigert."));
            zuruecksetzen();
            return;
        }
        if (gefunden.fakturiert && !session_.LeistungenAufFakturierteAuftraege()) {
            meldung(
                QStringLiteral("Auf fakturierte Auftrag können keine Leistungen erfasst "
                               "werden!"));
            zuruecksetzen();
            return;
        }
        if (!eintragsModus_) {
            auftrag_->AuftragAendern(gefunden.auftragId);
        }
        auftragId_ = gefunden.auftragId;
        fakturiert_ = gefunden.fakturiert;
        hinweisFakturiert(fakturiert_);
        // The order now holds the matter shown: it takes its facts.
        schluesselZeigen(auftragId_);
        Angelegenheitspruefung();
        geprueft_ = schluessel();
        emit AuftragGeaendert();
    } catch (...) {
        try {
            zuruecksetzen();
        } catch (...) {  // NOLINT(bugprone-empty-catch): the first failure is the one reported
        }
        throw;
    }
}

void ctlAuftrag::zuruecksetzen() {
    geprueft_.reset();
    schluesselZeigen(auftragId_);
    Angelegenheitspruefung();
    tabFolge();
}

void ctlAuftrag::hinweisFakturiert(bool fakturiert) {
    lblHiweis_->setText(fakturiert ? QStringLiteral("fakturierter Auftrag") : QString());
    lblHiweis_->setVisible(fakturiert);
}

void ctlAuftrag::meldung(const QString& text) {
    session_.platform().messageBoxes().show(text, platform::MsgButtons::OkOnly,
                                            platform::MsgIcon::Information, kTitel);
}

void ctlAuftrag::laufendeNummern() {
    if (dropList1_->IsDropped()) {
        dropList1_->DropDown(false);
        return;
    }
    QComboBox* combo = dropList1_->Combo();
    combo->clear();
    for (const QString& item : runningNumbers(session_.platform().officeDatabase(), schluessel())) {
        combo->addItem(item);
    }
    dropList1_->Enabled(!ctlLfdNr_->Locked());
    if (combo->count() > 0) {
        const QRect feld = ctlLfdNr_->lineEdit()->geometry();
        const QPoint unten = ctlLfdNr_->mapTo(fraAuftrag_, feld.bottomLeft());
        dropList1_->setGeometry(unten.x(), unten.y() + 1, std::max(px(4000), feld.width()), 0);
        dropList1_->DropDown(true);
    }
}

void ctlAuftrag::laufendeNummerGewaehlt(const QString& item) {
    if (ctlLfdNr_->Locked()) {
        return;
    }
    ctlLfdNr_->Text(item.section(QStringLiteral(" - "), 0, 0).trimmed());
    dropList1_->DropDown(false);
    if (!hatObjektNr()) {
        pruefen();
    }
    naechstesFeld(ctlLfdNr_);
}

void ctlAuftrag::naechstesFeld(QWidget* nach) {
    // The next field in tab order that takes input; past the last one the focus leaves.
    QWidget* feld = nach->focusProxy() != nullptr ? nach->focusProxy() : nach;
    for (QWidget* next = feld->nextInFocusChain(); next != feld; next = next->nextInFocusChain()) {
        if (!isAncestorOf(next)) {
            break;
        }
        const auto* edit = qobject_cast<QLineEdit*>(next);
        if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->isEnabled() && next->isVisible() &&
            !(edit != nullptr && edit->isReadOnly())) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    txtFocusDummy_->setFocus(Qt::TabFocusReason);
}

bool ctlAuftrag::fuehrtZumAbbruch(QWidget* ziel) const {
    if (std::find(abbruchZiele_.begin(), abbruchZiele_.end(), ziel) != abbruchZiele_.end()) {
        return true;
    }
    auto* button = qobject_cast<QAbstractButton*>(ziel);
    auto* box =
        button != nullptr ? qobject_cast<QDialogButtonBox*>(button->parentWidget()) : nullptr;
    return box != nullptr && box->buttonRole(button) == QDialogButtonBox::RejectRole;
}

void ctlAuftrag::fokusGewechselt(QWidget* alt, QWidget* neu) {
    const bool warDrin = alt != nullptr && isAncestorOf(alt);
    const bool istDrin = neu != nullptr && isAncestorOf(neu);
    if (neu == txtFocusDummy_) {
        if (!warDrin) {
            // Shift+Tab into the control from behind: the last field takes the focus.
            naechstesFeld(ctlAufArtAng_);
            return;
        }
        emit LoseFocus();
        if (QApplication::focusWidget() == txtFocusDummy_) {
            // The host moved the focus nowhere: the employee has left the control all the same.
            ereignis("UserControl_ExitFocus", [this] { pruefen(); });
        }
        return;
    }
    if (neu == ctlLfdNr_->lineEdit() && alt != nullptr && !dropList1_->isAncestorOf(alt)) {
        ereignis("ctlLfdNr_GotFocus", [this] { laufendeNummern(); });
    }
    // Another window (a message box, a pop-up) only borrows the focus.
    if (warDrin && !istDrin && neu != nullptr && neu->window() == window() &&
        !fuehrtZumAbbruch(neu)) {
        ereignis("UserControl_ExitFocus", [this] { pruefen(); });
    }
}

void ctlAuftrag::textVorgabeBestaetigt() {
    QString text = ctlTextVorgabe_->Text();
    const QString vorher = text;
    const QString ergebnis = session_.StandardLeistungsText(text);
    if (ergebnis != vorher) {
        ctlTextVorgabe_->Text(ergebnis + QLatin1Char(' '));
        ctlTextVorgabe_->SelStart(static_cast<int>(ctlTextVorgabe_->Text().size()));
    }
}

void ctlAuftrag::textVorgabeVerlassen() {
    if (eintragsModus_ || !auftrag_ || ctlTextVorgabe_->Locked() ||
        ctlTextVorgabe_->Text() == auftrag_->LeistungsTextVorgabe()) {
        return;
    }
    auftrag_->LeistungsTextVorgabe(ctlTextVorgabe_->Text());
    auftrag_->Speichern();
}

void ctlAuftrag::keyF(int key) {
    ereignis("UserControl_KeyDown", [&] {
        if (key == Qt::Key_F8) {
            ctlMandant_->Auswahl();
        } else if (key == Qt::Key_F9 || key == Qt::Key_F10) {
            ctlAufArtAng_->Auswahl();
        } else if (key == Qt::Key_F11 && auftrag_ && auftrag_->AuftragBrowsen()) {
            emit AuftragGeaendert();
            ObjectToView();
        }
    });
}

bool ctlAuftrag::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == ctlTextVorgabe_->lineEdit() &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        ereignis("ctlTextVorgabe_KeyPress", [this] { textVorgabeBestaetigt(); });
    } else if (watched == ctlLfdNr_->lineEdit() &&
               (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        QComboBox* combo = dropList1_->Combo();
        if (combo->count() > 0) {
            combo->setCurrentIndex(0);
            dropList1_->DropDown(true);
        }
        return true;
    } else if (watched == dropList1_->Combo()->view()) {
        // Digits and Tab typed while the list is open go to the field: the list offers the
        // existing numbers, a new one is simply typed.
        const bool ziffer = key->text().size() == 1 && key->text().at(0).isDigit();
        const bool feldTaste = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
                               key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (ziffer || feldTaste) {
            dropList1_->DropDown(false);
            ctlLfdNr_->lineEdit()->setFocus(Qt::PopupFocusReason);
            QKeyEvent weiter(key->type(), key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(ctlLfdNr_->lineEdit(), &weiter);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ctlAuftrag::resizeEvent(QResizeEvent* /*event*/) {
    fraAuftrag_->setGeometry(0, 0, width(), height());
}

}  // namespace orv::ui
