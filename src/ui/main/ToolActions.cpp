#include "ui/main/ToolActions.h"

#include "ui/controls/KeyboardAccess.h"
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
    {tool::kTagesuebersicht, "Tagesübersicht", "Tagesübersicht des heutigen Tages"},
};
constexpr ToolDef kUmbuchen[] = {
    {tool::kUmbuchenLeistung, "Leistung umbuchen", ""},
    {tool::kUmbuchenLeerlauf, "unproduktive Zeit umbuchen", ""},
};

// Window-wide keys. Taken elsewhere, so never here: Enter and double click (start the row's
// order), Escape (cancels dialogs), Ctrl+A (marks all entries), Ctrl+T (day overview), F4
// (calendars, calculators), F8 to F11 (the order control's choices).
constexpr std::pair<const char*, const char*> kTasten[] = {
    {tool::kNeu, "Ctrl+N"},
    {tool::kAuftragAendern, "Ctrl+E"},
    {tool::kAuftragOeffnen, "Ctrl+O"},
    {tool::kEigenschaften, "Alt+Return"},
    {tool::kPause, "Ctrl+P"},
    {tool::kStart, "F5"},
    {tool::kStop, "F6"},
    {tool::kTelefon, "Ctrl+Shift+T"},
    {tool::kBeenden, "F7"},
    {tool::kBuchenEinzel, "Ctrl+B"},
    {tool::kBuchenSammel, "Ctrl+Shift+B"},
    {tool::kLeistungBearbeiten, "F2"},
    {tool::kLeistungLoeschen, "Del"},
    {tool::kUmbuchenLeistung, "Ctrl+U"},
    {tool::kUmbuchenLeerlauf, "Ctrl+Shift+U"},
    {tool::kTagesuebersicht, "Ctrl+T"},
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
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
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
    deutscheTastennamen();
    for (const auto& [key, taste] : kTasten) {
        QAction& action = (*this)[key];
        action.setShortcut(QKeySequence(QString::fromLatin1(taste), QKeySequence::PortableText));
        if (QWidget* button = toolbar_->widgetForAction(&action)) {
            tasteImTipp(*button, [&action] { return action.shortcut(); });
        }
    }
    QAction& umbuchen = (*this)[tool::kLeistungUmbuchen];
    umbuchen.setMenu(umbuchen_);
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(&umbuchen))) {
        button->setPopupMode(QToolButton::InstantPopup);
    }
}

QAction& ToolActions::operator[](const char* key) const {
    return *actions_.at(QString::fromLatin1(key));
}

QKeySequence ToolActions::taste(const char* key) const {
    return (*this)[key].shortcut();
}

void ToolActions::SetToolIcons(platform::PlatformFactory& platform) {
    for (const auto& [key, number] : kIcons) {
        (*this)[key].setIcon(officeIcon(platform, number));
    }
}

}  // namespace orv::ui
