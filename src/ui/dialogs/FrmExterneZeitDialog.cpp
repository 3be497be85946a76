#include "ui/dialogs/FrmExterneZeitDialog.h"

#include "office/widgets/ctlButton.h"
#include "office/widgets/ctlDatePicker.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/ctlMskzeit.h"
#include "ui/dialogs/ModalDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orv::ui {
namespace {

constexpr std::int32_t kErfasst = 1;
constexpr std::int32_t kAbgebrochen = 2;

ctlMskzeit* uhrzeitFeld(const char* name, QWidget* parent) {
    auto* feld = new ctlMskzeit(parent);
    feld->setObjectName(QString::fromLatin1(name));
    feld->ZeitFormat(0);
    feld->pbUhrZeit(true);
    return feld;
}

}  // namespace

FrmExterneZeitDialog::FrmExterneZeitDialog(platform::PlatformFactory& platform)
    : platform_(platform),
      trace_(platform, QStringLiteral("frmExterneZeit")),
      ctlDatePicker1_(new office::ctlDatePicker(this)),
      mskZeitVon_(uhrzeitFeld("mskZeitVon", this)),
      mskZeitBis_(uhrzeitFeld("mskZeitBis", this)),
      lblHinweis_(new QLabel(this)),
      ctlOk_(new office::ctlButton(this, "ctlOk", QStringLiteral("OK"))),
      ctlCancel_(new office::ctlButton(this, "ctlCancel", QStringLiteral("Abbrechen"))) {
    setObjectName(QStringLiteral("frmExterneZeit"));
    setWindowTitle(QStringLiteral("Externe Zeit erfassen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ctlDatePicker1_->setObjectName(QStringLiteral("ctlDatePicker1"));
    ctlDatePicker1_->Caption(QStringLiteral("Datum"));
    ctlDatePicker1_->Format(QStringLiteral("dd.MM.yyyy"));
    ctlDatePicker1_->ButtonToolTip(QStringLiteral("Anzeige des Kalenders (F4)"));

    auto* rahmen = new QGroupBox(QStringLiteral("externe Zeit"), this);
    rahmen->setObjectName(QStringLiteral("fraExterneZeit"));
    auto* felder = new QFormLayout(rahmen);
    felder->addRow(ctlDatePicker1_);
    felder->addRow(QStringLiteral("von"), mskZeitVon_);
    felder->addRow(QStringLiteral("bis"), mskZeitBis_);
    for (QWidget* feld : {static_cast<QWidget*>(mskZeitVon_), static_cast<QWidget*>(mskZeitBis_)}) {
        beschriften(*qobject_cast<QLabel*>(felder->labelForField(feld)), *feld);
    }

    lblHinweis_->setObjectName(QStringLiteral("lblHinweis"));
    lblHinweis_->setWordWrap(true);
    lblHinweis_->setStyleSheet(QStringLiteral("color: red"));
    lblHinweis_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest hint, so that the window does not jump while the employee types.
    lblHinweis_->setMinimumHeight(lblHinweis_->fontMetrics().lineSpacing() * 2 + 4);

    ctlOk_->setDefault(true);
    ctlOk_->setEnabled(false);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ctlOk_);
    knoepfe->addWidget(ctlCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rahmen);
    layout->addWidget(lblHinweis_);
    layout->addLayout(knoepfe);
    setMinimumWidth(440);

    setTabOrder(ctlDatePicker1_, mskZeitVon_);
    setTabOrder(mskZeitVon_, mskZeitBis_);
    setTabOrder(mskZeitBis_, ctlOk_);
    setTabOrder(ctlOk_, ctlCancel_);

    connect(ctlOk_, &QPushButton::clicked, this, &FrmExterneZeitDialog::bestaetigen);
    connect(ctlCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

FrmExterneZeitDialog::~FrmExterneZeitDialog() = default;

std::int32_t FrmExterneZeitDialog::ExterneZeitErfassen(CStoppUhren& session, std::int32_t& seconds,
                                                       QDateTime& von, QDateTime& bis) {
    Procedure p(trace_, "ExterneZeitErfassen");
    return p.run([&] {
        session_ = &session;
        ergebnis_ = kAbgebrochen;
        ctlDatePicker1_->Datum(platform_.clock().now().date());
        connect(ctlDatePicker1_, &office::ctlDatePicker::Change, this,
                &FrmExterneZeitDialog::pruefen);
        connect(mskZeitVon_, &ctlMskzeit::Change, this, &FrmExterneZeitDialog::pruefen);
        connect(mskZeitBis_, &ctlMskzeit::Change, this, &FrmExterneZeitDialog::pruefen);
        pruefen();
        mskZeitVon_->setFocus();
        // Escape and the close box cancel as the cancel button does.
        if (zeigeModal(*this, platform_) != QDialog::Accepted) {
            ergebnis_ = kAbgebrochen;
            sekunden_ = 0;
        }
        seconds = sekunden_;
        von = von_;
        bis = bis_;
        return ergebnis_;
    });
}

void FrmExterneZeitDialog::pruefen() {
    gueltig_ = false;
    ctlOk_->setEnabled(false);
    Procedure(trace_, "Pruefen").report([&] {
        const QString v = mskZeitVon_->Text();
        const QString b = mskZeitBis_->Text();
        QString meldung;
        if (v == QLatin1String("00:00") || b == QLatin1String("00:00")) {
            meldung = QStringLiteral("Keine Zeiten angegeben.");
        } else {
            const QDate tag = ctlDatePicker1_->Datum();
            const QDateTime von(tag, QTime::fromString(v, QStringLiteral("HH:mm")));
            const QDateTime bis(tag, QTime::fromString(b, QStringLiteral("HH:mm")));
            meldung = session_->ExterneZeitPruefen(von, bis);
            if (meldung.isEmpty()) {
                von_ = von;
                bis_ = bis;
                sekunden_ = rt::toLong(rt::secondsBetween(von, bis));
            }
        }
        lblHinweis_->setText(meldung);
        gueltig_ = meldung.isEmpty();
        ctlOk_->setEnabled(gueltig_);
    });
}

void FrmExterneZeitDialog::bestaetigen() {
    Procedure(trace_, "ctlOk_Click").report([&] {
        if (!gueltig_) {
            return;
        }
        const platform::MsgAnswer antwort = platform_.messageBoxes().show(
            QStringLiteral("Die eingegebene Zeit wird sofort zur unproduktiven Zeit addiert und "
                           "in die Mitarbeiterzeiten übernommen.\n"
                           "Bei Abbruch der Erfassung der neuen Leistung wird dieser Vorgang "
                           "NICHT rückgängig gemacht.\n"
                           "Möchten Sie trotzdem fortfahren?"),
            platform::MsgButtons::YesNo, platform::MsgIcon::Question,
            QStringLiteral("Externe Zeit erfassen"));
        if (antwort != platform::MsgAnswer::Yes) {
            return;
        }
        if (sekunden_ > 0) {
            ergebnis_ = kErfasst;
        }
        accept();
    });
}

}  // namespace orv::ui
