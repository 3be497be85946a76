#include "ui/dialogs/FrmPauseDialog.h"

#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/dialogs/ModalDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace orv::ui {
namespace {

// Captions of the two times; a time's accessible name starts with its caption.
const QString kBeginn = QStringLiteral("Beginn");
const QString kDauer = QStringLiteral("Dauer");

QLabel* wert(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSizeF(9.75);
    label->setFont(font);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(90);
    return label;
}

}  // namespace

FrmPauseDialog::FrmPauseDialog(platform::PlatformFactory& platform)
    : platform_(platform),
      trace_(platform, QStringLiteral("frmPause")),
      lblBeginn_(wert("lblBeginn", this)),
      lblZeit_(wert("lblZeit", this)),
      btnEnde_(new QPushButton(QStringLiteral("OK"), this)),
      timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmPause"));
    setWindowTitle(QStringLiteral("Pause"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* ueberschrift = new QLabel(QStringLiteral("Pause ..."), this);
    QFont fett = ueberschrift->font();
    fett.setBold(true);
    fett.setPointSize(12);
    ueberschrift->setFont(fett);

    auto* werte = new QGridLayout;
    werte->addWidget(new QLabel(kBeginn, this), 0, 0);
    werte->addWidget(lblBeginn_, 0, 1);
    werte->addWidget(new QLabel(kDauer, this), 1, 0);
    werte->addWidget(lblZeit_, 1, 1);

    btnEnde_->setObjectName(QStringLiteral("btnEnde"));
    btnEnde_->setDefault(true);
    connect(btnEnde_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ueberschrift);
    layout->addLayout(werte);
    layout->addWidget(btnEnde_, 0, Qt::AlignRight);
    setMinimumWidth(260);

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &FrmPauseDialog::anzeigen);
}

FrmPauseDialog::~FrmPauseDialog() = default;

void FrmPauseDialog::Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) {
    Procedure p(trace_, "Pause");
    p.run([&] {
        session_ = &session;
        beginn_ = beginn.isValid() ? beginn : platform_.clock().now();
        wertAnzeigen(*lblBeginn_, kBeginn, beginn_.toString(QStringLiteral("HH:mm:ss")));
        wertAnzeigen(*lblZeit_, kDauer, session.SekundenZeit(0));
        timer1_->start();
        btnEnde_->setFocus();
        zeigeModal(*this, platform_);
        timer1_->stop();
        // Ended by OK, Enter, Escape or the close box alike: the pause is as long as the clock
        // says at this moment.
        seconds = gemessen();
    });
}

std::int32_t FrmPauseDialog::gemessen() const {
    const std::int64_t sekunden = rt::secondsBetween(beginn_, platform_.clock().now());
    // A clock set back during the pause gives no negative pause.
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(sekunden, 0, std::numeric_limits<std::int32_t>::max()));
}

void FrmPauseDialog::anzeigen() {
    Procedure(trace_, "Timer1_Timer").report([&] {
        wertAnzeigen(*lblZeit_, kDauer, session_->SekundenZeit(gemessen()));
    });
}

}  // namespace orv::ui
