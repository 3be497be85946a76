#include "ui/main/TrayIndicator.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "session/CStoppUhren.h"
#include "ui/controls/OfficeIcons.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace orv::ui {
namespace {

constexpr std::int32_t kBildProduktiv = 1001;
constexpr std::int32_t kBildLeerlauf = 1002;

// When the employee last started the order: the begin of its latest stretch (the entries keep
// every start and come back with the session after a restart), or its own begin without one.
QDateTime letzterStart(const CAuftrag& auftrag) {
    QDateTime zuletzt = auftrag.Beginn();
    for (const std::shared_ptr<cLeistung>& leistung : auftrag.Leistungen()) {
        if (leistung->Beginn().isValid() && (!zuletzt.isValid() || leistung->Beginn() > zuletzt)) {
            zuletzt = leistung->Beginn();
        }
    }
    return zuletzt;
}

// "Bäckerei Krume (10001) – Steuerliche Beratung 02/2026": an order as the employee finds it in
// a list, the period telling apart two orders of the same matter.
QString auftragName(const CAuftrag& auftrag) {
    QString angelegenheit = auftrag.Angelegenheit();
    if (auftrag.Jahr() > 0) {
        angelegenheit +=
            (angelegenheit.isEmpty() ? QString() : QStringLiteral(" ")) + auftrag.PeriodeText();
    }
    return angelegenheit.isEmpty() ? auftrag.MandantLabel()
                                   : auftrag.MandantLabel() + QStringLiteral(" – ") + angelegenheit;
}

// The office's picture, or the desktop style's where the office has none: the tray never
// shows an empty place.
QIcon bild(platform::PlatformFactory& platform, std::int32_t nummer,
           QStyle::StandardPixmap ersatz) {
    const QIcon icon = officeIcon(platform, nummer);
    return icon.isNull() ? QApplication::style()->standardIcon(ersatz) : icon;
}

}  // namespace

TrayIndicator::TrayIndicator(QWidget& window, platform::PlatformFactory& platform)
    : QObject(&window),
      menu_(new QMenu(&window)),
      bildProduktiv_(bild(platform, kBildProduktiv, QStyle::SP_MediaPlay)),
      bildLeerlauf_(bild(platform, kBildLeerlauf, QStyle::SP_MediaPause)) {
    setObjectName(QStringLiteral("trayStoppUhren"));
    menu_->setObjectName(QStringLiteral("trayMenu"));
    const auto aktion = [&](const char* name, const QString& text) {
        auto* action = new QAction(text, &window);
        action->setObjectName(QString::fromLatin1(name));
        menu_->addAction(action);
        return action;
    };
    anzeigen_ = aktion("trayAnzeigen", QStringLiteral("Stoppuhren anzeigen"));
    stopp_ = aktion("trayStopp", QStringLiteral("Stopp"));
    pause_ = aktion("trayPause", QStringLiteral("Pause"));
    trenner_ = menu_->addSeparator();
    for (int i = 0; i < kZuletzt; ++i) {
        QAction* action = aktion(qPrintable(QStringLiteral("trayAuftrag%1").arg(i + 1)), {});
        connect(action, &QAction::triggered, this,
                [this, action] { emit auftragGewaehlt(action->data().toString()); });
        auftraege_[static_cast<std::size_t>(i)] = action;
    }
    connect(anzeigen_, &QAction::triggered, this, &TrayIndicator::anzeigenGewaehlt);
    connect(stopp_, &QAction::triggered, this, &TrayIndicator::stoppGewaehlt);
    connect(pause_, &QAction::triggered, this, &TrayIndicator::pauseGewaehlt);
    // The menu shows the orders as they are when it opens, with their times.
    // The orders offered are sorted as the menu opens, not at every command: with thousands of
    // orders that would cost each Start click milliseconds.
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        zustandStellen();
        auftraegeAnbieten();
    });
    zustandStellen();
}

TrayIndicator::~TrayIndicator() = default;

void TrayIndicator::setSession(CStoppUhren* session) {
    session_ = session;
    if (session_ != nullptr && icon_ == nullptr && QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_ = new QSystemTrayIcon(this);
        icon_->setObjectName(QStringLiteral("trayIcon"));
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason grund) {
                    if (grund == QSystemTrayIcon::Trigger) {
                        emit anzeigenGewaehlt();
                    }
                });
    }
    zustandStellen();
    if (icon_ != nullptr) {
        icon_->setVisible(session_ != nullptr);
    }
}

const CAuftrag& TrayIndicator::laufend() const {
    return session_->AuftragLaeuft() && session_->AktuellerAuftrag() != nullptr
               ? *session_->AktuellerAuftrag()
               : session_->LeerlaufAuftrag();
}

void TrayIndicator::zustandStellen() {
    const bool produktiv = session_ != nullptr && !laufend().Leerlauf();
    zustand_ = produktiv ? Zustand::Produktiv : Zustand::Leerlauf;
    if (icon_ != nullptr) {
        icon_->setIcon(produktiv ? bildProduktiv_ : bildLeerlauf_);
    }
    // As the window offers them: Stopp while an order runs, nothing once the session ended.
    anzeigen_->setEnabled(session_ != nullptr);
    stopp_->setEnabled(produktiv);
    pause_->setEnabled(session_ != nullptr);
    if (session_ == nullptr) {
        gezeigt_ = nullptr;
        kopf_.clear();
        toolTipSetzen(QStringLiteral("Stoppuhren"));
        return;
    }
    const CAuftrag& auftrag = laufend();
    kopf_ = produktiv ? QStringLiteral("Stoppuhren: Auftrag läuft\n") + auftragName(auftrag) +
                            QLatin1Char('\n')
                      : QStringLiteral("Stoppuhren: Leerlauf\n");
    gezeigt_ = &auftrag;
    sekunden_ = auftrag.Sekunden();
    toolTipSetzen(kopf_ + session_->SekundenZeit(sekunden_));
}

void TrayIndicator::zeitAktualisieren() {
    if (session_ == nullptr) {
        return;
    }
    // The hot path: a comparison, and a new text only when the time shown changed.
    const CAuftrag& auftrag = laufend();
    if (&auftrag != gezeigt_) {
        zustandStellen();
        return;
    }
    if (auftrag.Sekunden() == sekunden_) {
        return;
    }
    sekunden_ = auftrag.Sekunden();
    toolTipSetzen(kopf_ + session_->SekundenZeit(sekunden_));
}

void TrayIndicator::toolTipSetzen(const QString& text) {
    if (text == toolTip_) {
        return;
    }
    toolTip_ = text;
    if (icon_ != nullptr) {
        // A client's or matter's name shows as written, never as markup.
        icon_->setToolTip(Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text) : text);
    }
}

void TrayIndicator::auftraegeAnbieten() {
    std::vector<std::pair<QDateTime, const CAuftrag*>> offen;
    if (session_ != nullptr) {
        const CAuftrag* lauft = &laufend();
        for (const std::shared_ptr<CAuftrag>& auftrag : session_->Auftraege()) {
            // The running one is in the tooltip; ended ones can no longer be started.
            if (auftrag.get() != lauft && !auftrag->Leerlauf() &&
                auftrag->Status() < AuftragStatus_Beendet) {
                offen.emplace_back(letzterStart(*auftrag), auftrag.get());
            }
        }
    }
    const auto zuerst = offen.begin() + std::min<std::ptrdiff_t>(kZuletzt, std::ssize(offen));
    // The latest start first; of two in the same second, the younger order.
    std::partial_sort(offen.begin(), zuerst, offen.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second->Id() > b.second->Id();
    });
    for (std::size_t i = 0; i < auftraege_.size(); ++i) {
        QAction* action = auftraege_[i];
        const bool da = i < offen.size();
        action->setVisible(da);
        if (da) {
            const CAuftrag& auftrag = *offen[i].second;
            // "&" is a client's ampersand, not the menu's shortcut mark.
            action->setText(
                QString(auftragName(auftrag)).replace(QLatin1Char('&'), QStringLiteral("&&")) +
                QStringLiteral(", ") + auftrag.ZeitText());
            action->setData(auftrag.Key());
        } else {
            action->setData(QString());
        }
    }
    trenner_->setVisible(!offen.empty());
}

}  // namespace orv::ui
