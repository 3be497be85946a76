#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <map>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// The tool keys of the main window's toolbar and context menu.
namespace tool {
inline constexpr const char* kNeu = "mnuNeu";
inline constexpr const char* kAuftragAendern = "mnuAuftragAendern";
inline constexpr const char* kAuftragOeffnen = "mnuAuftragOeffnen";
inline constexpr const char* kEigenschaften = "mnuEigenschaften";
inline constexpr const char* kPause = "mnuPause";
inline constexpr const char* kStart = "mnuStart";
inline constexpr const char* kStop = "mnuStop";
inline constexpr const char* kTelefon = "mnuTelefon";
inline constexpr const char* kBeenden = "mnuBeenden";
inline constexpr const char* kBuchenEinzel = "mnuBuchenEinzel";
inline constexpr const char* kBuchenSammel = "mnuBuchenSammel";
inline constexpr const char* kLeistungBearbeiten = "mnuLeistungBearbeiten";
inline constexpr const char* kLeistungLoeschen = "mnuLeistungLoeschen";
inline constexpr const char* kLeistungUmbuchen = "mnuLeistungUmbuchen";
inline constexpr const char* kUmbuchenLeistung = "mnuUmbuchenLeistung";
inline constexpr const char* kUmbuchenLeerlauf = "mnuUmbuchenLeerlauf";
inline constexpr const char* kTagesuebersicht = "mnuTagesuebersicht";
}  // namespace tool

// One QAction per tool, named by its key and shared by the toolbar band "bndAuftraege" and the
// context menu "mnuPopUpAuftraege"; "mnuLeistungUmbuchen" opens the submenu "mnuPopUpUmbuchen".
class ToolActions final : public QObject {
    Q_OBJECT
public:
    explicit ToolActions(QWidget& window);

    QAction& operator[](const char* key) const;
    // The key that runs the tool anywhere in the window.
    QKeySequence taste(const char* key) const;
    QToolBar& toolbar() const { return *toolbar_; }
    QMenu& popup() const { return *popup_; }
    QMenu& umbuchen() const { return *umbuchen_; }
    // The office's pictures for the tools that have one.
    void SetToolIcons(platform::PlatformFactory& platform);

signals:
    void toolClick(const QString& key);

private:
    std::map<QString, QAction*> actions_;
    QToolBar* toolbar_;
    QMenu* popup_;
    QMenu* umbuchen_;
};

}  // namespace orv::ui
