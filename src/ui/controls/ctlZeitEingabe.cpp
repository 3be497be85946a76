#include "ui/controls/ctlZeitEingabe.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/widgets/ctlNumPicker.h"
#include "office/widgets/ctlTextBox.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/BgrColor.h"
#include "ui/controls/IndustrialHours.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/ctlMskzeit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace orv::ui {
namespace {

const QColor kRot = bgrColor(0x0000FF);
const QColor kBlau = bgrColor(0xFF0000);

office::ctlTextBox* zielFeld(QWidget* parent, const char* name, const QString& caption) {
    auto* field = new office::ctlTextBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->Caption(caption);
    field->Locked(true);
    field->setEnabled(false);
    return field;
}

}  // namespace

ctlZeitEingabe::ctlZeitEingabe(QWidget* parent)
    : QWidget(parent),
      mskZeit_(new ctlMskzeit(this)),
      ctlNumPicker1_(new office::ctlNumPicker(this)),
      ctlZeitInd_(new office::ctlTextBox(this)),
      ctlZeitbisher_(
          zielFeld(this, "ctlZeitbisher", QStringLiteral("bisherige Zeit der Zielleistung"))),
      ctlZeitbisherInd_(zielFeld(this, "ctlZeitbisherInd", {})),
      ctlZeitNeu_(zielFeld(this, "ctlZeitNeu", QStringLiteral("neue Zeit der Zielleistung"))),
      ctlZeitNeuInd_(zielFeld(this, "ctlZeitNeuInd", {})),
      label1_(new QLabel(QStringLiteral("&Zeit:"), this)),
      lblHinweis_(new QLabel(this)) {
    mskZeit_->setObjectName(QStringLiteral("mskZeit"));
    ctlNumPicker1_->setObjectName(QStringLiteral("ctlNumPicker1"));
    ctlZeitInd_->setObjectName(QStringLiteral("ctlZeitInd"));
    label1_->setObjectName(QStringLiteral("Label1"));
    lblHinweis_->setObjectName(QStringLiteral("lblHinweis"));
    beschriften(*label1_, *mskZeit_);

    ctlNumPicker1_->Caption(QStringLiteral("Zeit"));
    ctlNumPicker1_->DisplayFormat(QStringLiteral("#0.00;-#0.00;0.00;{};"));
    ctlNumPicker1_->InputFormat(QStringLiteral("#0.00;-##0.00;0.00;{};"));
    ctlNumPicker1_->ButtonToolTip(QStringLiteral("Anzeige des Taschenrechners (F4)"));
    ctlNumPicker1_->hide();
    ctlZeitInd_->Caption(QStringLiteral("Industrie Std."));
    ctlZeitInd_->Locked(true);
    ctlZeitInd_->RightAligned(true);
    // A display, not a tab stop: Tab goes from the time on to the dialog's next field.
    ctlZeitInd_->setFocusPolicy(Qt::ClickFocus);
    ctlZeitInd_->lineEdit()->setFocusPolicy(Qt::ClickFocus);
    for (office::ctlTextBox* ind : {ctlZeitbisherInd_, ctlZeitNeuInd_}) {
        ind->RightAligned(true);
    }
    lblHinweis_->setWordWrap(true);
    lblHinweis_->setTextFormat(Qt::PlainText);
    // Room for a message of two lines, so the longest does not push the dialog around.
    lblHinweis_->setMinimumHeight(2 * lblHinweis_->fontMetrics().lineSpacing());
    const int captionWidth =
        std::max(ctlZeitbisher_->captionWidthHint(), ctlZeitNeu_->captionWidthHint());
    for (office::ctlTextBox* ziel : {ctlZeitbisher_, ctlZeitNeu_}) {
        ziel->CaptionWidth(captionWidth);
    }
    lblHinweis_->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label1_, 0, 0);
    grid->addWidget(mskZeit_, 0, 1);
    grid->addWidget(ctlNumPicker1_, 0, 0, 1, 2);
    grid->addWidget(ctlZeitInd_, 0, 2);
    grid->addWidget(ctlZeitbisher_, 1, 0, 1, 2);
    grid->addWidget(ctlZeitbisherInd_, 1, 2);
    grid->addWidget(ctlZeitNeu_, 2, 0, 1, 2);
    grid->addWidget(ctlZeitNeuInd_, 2, 2);
    grid->addWidget(lblHinweis_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    setFocusProxy(mskZeit_);

    connect(mskZeit_, &ctlMskzeit::Validate, this, [this] { mskZeitValidate(); });
    // A refused value keeps the employee in the field: Enter confirms nothing.
    connect(ctlNumPicker1_, &office::ctlNumPicker::Validate, this, [this](bool& cancel) {
        industrieZeitUebernehmen();
        cancel = abgelehnt_;
    });
    connect(mskZeit_, &ctlMskzeit::Eingabefehler, this, [this](const QString& meldung) {
        abgelehnt_ = true;
        hinweis(meldung, kRot);
    });
}

ctlZeitEingabe::~ctlZeitEingabe() {
    // The focus leaving the dying fields is no entry to check: the trace is gone by then.
    mskZeit_->disconnect(this);
    ctlNumPicker1_->disconnect(this);
}

template <typename Body>
void ctlZeitEingabe::guarded(const char* procedure, bool reports, Body&& body) {
    if (!trace_) {
        body();
    } else if (reports) {
        Procedure(*trace_, procedure).report(std::forward<Body>(body));
    } else {
        Procedure(*trace_, procedure).run(std::forward<Body>(body));
    }
}

QString ctlZeitEingabe::ZeitText() const {
    return mskZeit_->Text();
}

std::int32_t ctlZeitEingabe::Sekunden() const {
    return mskZeit_->Sekunden();
}

void ctlZeitEingabe::Sekunden(std::int32_t seconds) {
    mskZeit_->Sekunden(seconds);
    zeigeIndustrie(seconds);
    zeigeAndereEinheit(seconds);
}

void ctlZeitEingabe::Leistung(std::shared_ptr<cLeistung> leistung) {
    leistung_ = std::move(leistung);
    if (!leistung_) {
        return;
    }
    CStoppUhren& session = leistung_->Auftrag().StoppUhren();
    if (!trace_) {
        trace_ =
            std::make_unique<ObjectTrace>(session.platform(), QStringLiteral("ctlZeitEingabe"));
    }
    mskZeit_->ZeitFormat(1);
    IndustrieZeit(session.IndustrieZeit());
    ObjectToView();
}

void ctlZeitEingabe::IndustrieZeit(bool on) {
    industrieZeit_ = on;
    ctlNumPicker1_->setVisible(on);
    label1_->setVisible(!on);  // the picker brings its own caption
    mskZeit_->setVisible(!on);
    ctlZeitInd_->Caption(on ? QStringLiteral("Zeit-Std.") : QStringLiteral("Industrie-Std."));
    setFocusProxy(on ? static_cast<QWidget*>(ctlNumPicker1_) : mskZeit_);
    zeigeAndereEinheit(Sekunden());
}

void ctlZeitEingabe::QuellZeitText(const QString& text) {
    ctlZeitbisher_->Text(text);
    ctlZeitbisherInd_->Text(text);
}

void ctlZeitEingabe::ZielZeitText(const QString& text) {
    ctlZeitNeu_->Text(text);
    ctlZeitNeuInd_->Text(text);
}

void ctlZeitEingabe::ZielLeistungZeitBisher(std::int32_t seconds) {
    guarded("ZielLeistungZeitBisher", false, [&] {
        ctlZeitbisher_->Text(rt::durationText(seconds));
        ctlZeitbisherInd_->Text(rt::industrialHoursText(seconds));
        const std::int32_t total = rt::addLong(Sekunden(), seconds);
        ctlZeitNeu_->Text(rt::durationText(total));
        ctlZeitNeuInd_->Text(rt::industrialHoursText(total));
        zielBisher_ = seconds;
    });
}

void ctlZeitEingabe::Modus(std::int32_t flags) {
    const bool zielzeiten = (flags & kOhneZielzeiten) == 0;
    for (QWidget* field :
         {static_cast<QWidget*>(ctlZeitbisher_), static_cast<QWidget*>(ctlZeitbisherInd_),
          static_cast<QWidget*>(ctlZeitNeu_), static_cast<QWidget*>(ctlZeitNeuInd_)}) {
        field->setVisible(zielzeiten);
    }
    umbuchen_ = (flags & kUmbuchen) != 0;
}

void ctlZeitEingabe::ObjectToView() {
    guarded("ObjectToView", false, [&] {
        mskZeit_->Text(leistung_->ZeitText());
        mskZeit_->DataChanged(false);
        ctlZeitbisher_->Text(QStringLiteral("00:00:00"));
        ctlZeitbisherInd_->Text(QStringLiteral("0,00"));
        ctlZeitNeu_->Text(QStringLiteral("00:00:00"));
        ctlZeitNeuInd_->Text(QStringLiteral("0,00"));
        zeigeIndustrie(leistung_->Sekunden());
        zeigeAndereEinheit(leistung_->Sekunden());
    });
}

void ctlZeitEingabe::zeigeIndustrie(std::int32_t seconds) {
    const QString text = rt::industrialHoursText(seconds);
    ctlNumPicker1_->Text(text);
    const auto shown = parseIndustrialHours(text);
    gezeigteHundertstel_ = std::get<std::int64_t>(shown);
}

void ctlZeitEingabe::zeigeAndereEinheit(std::int32_t seconds) {
    ctlZeitInd_->Text(industrieZeit_ ? rt::durationText(seconds)
                                     : rt::industrialHoursText(seconds));
}

void ctlZeitEingabe::industrieZeitUebernehmen() {
    const QString getippt = ctlNumPicker1_->Text();
    const auto ablehnen = [this](const QString& meldung) {
        // The field goes back to the time it showed; the message quotes what was typed.
        ctlNumPicker1_->Text(rt::formatHours(gezeigteHundertstel_ / 100.0));
        abgelehnt_ = true;
        hinweis(meldung, kRot);
    };
    const auto gelesen = parseIndustrialHours(getippt);
    const std::int64_t* hundertstel = std::get_if<std::int64_t>(&gelesen);
    if (hundertstel == nullptr) {
        ablehnen(std::get<QString>(gelesen));
        return;
    }
    // The same value as shown is no change: the entry keeps its exact seconds.
    if (*hundertstel != gezeigteHundertstel_) {
        const auto sekunden = secondsOfHundredths(*hundertstel, getippt);
        if (const QString* meldung = std::get_if<QString>(&sekunden)) {
            ablehnen(*meldung);
            return;
        }
        mskZeit_->Sekunden(std::get<std::int32_t>(sekunden));
        gezeigteHundertstel_ = *hundertstel;
        ctlNumPicker1_->Text(rt::formatHours(*hundertstel / 100.0));
    }
    mskZeitValidate();
}

bool ctlZeitEingabe::Pruefen() {
    if (!abgelehnt_) {
        industrieZeit_ ? industrieZeitUebernehmen() : mskZeitValidate();
    }
    return !abgelehnt_;
}

void ctlZeitEingabe::hinweis(const QString& text, const QColor& colour) {
    QPalette palette = lblHinweis_->palette();
    palette.setColor(QPalette::WindowText, colour);
    lblHinweis_->setPalette(palette);
    lblHinweis_->setText(text);
    lblHinweis_->setVisible(!text.isEmpty());
}

void ctlZeitEingabe::mskZeitValidate() {
    if (unproduktiv_) {
        return;
    }
    abgelehnt_ = false;
    guarded("mskZeit_Validate", true, [&] {
        QString meldung;
        QColor farbe = palette().color(QPalette::Button);
        const std::int32_t sekunden = Sekunden();
        // Minutes or seconds above 59 mean what they say and are shown as the time they make.
        mskZeit_->Sekunden(sekunden);
        if (leistung_ && !umbuchen_) {
            CStoppUhren& session = leistung_->Auftrag().StoppUhren();
            QString differenz;
            // The seconds as a number: the session reads a clock text only up to 99 hours.
            switch (session.PruefeLeistungZeit(QString::number(sekunden), leistung_->Sekunden(),
                                               differenz)) {
                case 0:
                    meldung = QStringLiteral("keine Änderung der Zeit");
                    break;
                case 1:
                    meldung = QStringLiteral("Differenz aus bisheriger Zeit und neuer Zeit (") +
                              differenz + QStringLiteral(") ist größer als Leerlaufzeit (") +
                              session.LeerlaufZeitText() + QStringLiteral(")");
                    farbe = kRot;
                    break;
                case 2:
                    meldung = QStringLiteral("gesamte Zeit wird umgebucht, Leistung wird gelöscht");
                    farbe = kBlau;
                    break;
                case 3:
                    meldung = differenz + QStringLiteral(" Stunden werden auf Leerlauf umgebucht");
                    farbe = kBlau;
                    break;
                case 4:
                    meldung = differenz +
                              QStringLiteral(" Stunden werden von Leerlauf auf Leistung umgebucht");
                    farbe = kBlau;
                    break;
                default:
                    break;
            }
        } else if (leistung_ && leistung_->Sekunden() < sekunden) {
            meldung = QStringLiteral("Umzubuchende Zeit ist größer als bisherige Zeit");
            farbe = kRot;
        }
        emit EnableControls();
        if (!industrieZeit_) {
            zeigeIndustrie(sekunden);
        }
        zeigeAndereEinheit(sekunden);
        const std::int32_t ziel = rt::addLong(zielBisher_, sekunden);
        ctlZeitNeu_->Text(rt::durationText(ziel));
        ctlZeitNeuInd_->Text(rt::industrialHoursText(ziel));
        hinweis(meldung, farbe);
    });
}

}  // namespace orv::ui
