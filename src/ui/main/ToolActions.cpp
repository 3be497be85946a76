#include "ui/main/ToolActions.h"

#include "ui/controls/OfficeIcons.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <cstdint>
#include <utility>

namespace orv::ui {
namespace {

struct ToolDef {
    const char* key;
    const char* caption;
    const char* toolTip;
};

// Toolbar and context menu, in this order.
constexpr ToolDef kBand[] = {
    {tool::kNeu, "neuer Vorgang", ""},
    {tool::kAuftragAendern, "Auftrag ändern", "anderen oder neuen Auftrag zuordnen"},
    {tool::kAuftragOeffnen, "Auftrag anzeigen", "Auftrag anzeigen"},
    {tool::kEigenschaften, "Eigenschaften", "Eigenschaften der Stoppuhren bearbeiten"},
    {tool::kPause, "Pause", "Pause beginnen"},
    {tool::kStart, "Start", "Vorgang fortsetzen"},
    {tool::kStop, "Stopp", "Vorgang anhalten"},
    {tool::kTelefon, "Telefon", "Vorgang für Telefonat anlegen"},
    {tool::kBeenden, "Vorgang beenden", "Vorgang abschließen"},
    {tool::kBuchenEinzel, "E-Buchung", "markierte Leistungen einzeln buchen"},
    {tool::kBuchenSammel, "S-Buchung", "markierte Leistung zusammengefasst buchen"},
    {tool::kLeistungBearbeiten, "Leistung bearbeiten", "vorläufige Leistung bearbeiten"},
    {tool::kLeistungLoeschen, "Löschen", "vorläufige Leistung löschen"},
    {tool::kLeistungUmbuchen, "Umbuchen", ""},
    {tool::kTagesuebersicht, "Tagesübersicht", "Tagesübersicht des heutigen Tages (Strg+T)"},
};
constexpr ToolDef kUmbuchen[] = {
    {tool::kUmbuchenLeistung, "Leistung umbuchen", ""},
    {tool::kUmbuchenLeerlauf, "unproduktive Zeit umbuchen", ""},
};

constexpr std::pair<const char*, std::int32_t> kIcons[] = {
    {tool::kNeu, 1091},           {tool::kAuftragAendern, 1062},
    {tool::kEigenschaften, 1063}, {tool::kLeistungLoeschen, 1131},
    {tool::kBeenden, 1137},
};

}  // namespace

ToolActions::ToolActions(QWidget& window)
    : QObject(&window),
      toolbar_(new QToolBar(&window)),
      popup_(new QMenu(&window)),
      umbuchen_(new QMenu(&window)) {
    toolbar_->setObjectName(QStringLiteral("bndAuftraege"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    popup_->setObjectName(QStringLiteral("mnuPopUpAuftraege"));
    umbuchen_->setObjectName(QStringLiteral("mnuPopUpUmbuchen"));
    const auto make = [&](const ToolDef& def) {
        auto* action = new QAction(QString::fromUtf8(def.caption), &window);
        const QString key = QString::fromLatin1(def.key);
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(def.toolTip));
        connect(action, &QAction::triggered, this, [this, key] { emit toolClick(key); });
        actions_.emplace(key, action);
        return action;
    };
    for (const ToolDef& def : kUmbuchen) {
        umbuchen_->addAction(make(def));
    }
    for (const ToolDef& def : kBand) {
        QAction* action = make(def);
        toolbar_->addAction(action);
        popup_->addAction(action);
    }
    (*this)[tool::kTagesuebersicht].setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    QAction& umbuchen = (*this)[tool::kLeistungUmbuchen];
    umbuchen.setMenu(umbuchen_);
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(&umbuchen))) {
        button->setPopupMode(QToolButton::InstantPopup);
    }
}

QAction& ToolActions::operator[](const char* key) const {
    return *actions_.at(QString::fromLatin1(key));
}

void ToolActions::SetToolIcons(platform::PlatformFactory& platform) {
    for (const auto& [key, number] : kIcons) {
        (*this)[key].setIcon(officeIcon(platform, number));
    }
}

}  // namespace orv::ui
