#pragma once

#include <QString>

// What the main window says to the employee.
namespace orv::ui::texte {

inline const QString kRecht38 = QStringLiteral(
    "Die Funktion 'vorläufige Leistung ändern' ist durch die Benutzerrechte gesperrt.");
inline const QString kRecht34 = QStringLiteral(
    "Die Funktion 'vorläufige Leistungen summieren' ist durch die Benutzerrechte gesperrt.");
inline const QString kKeinAuftrag = QStringLiteral("kein Auftrag zugeordnet");

inline const QString kLoeschenTitel = QStringLiteral("vorläufige Leistung löschen");
inline const QString kLoeschenEine =
    QStringLiteral("Möchten Sie die ausgewählte Leistung wirklich löschen?");
inline const QString kLoeschenMehrere =
    QStringLiteral("Möchten Sie die ausgewählten Leistungen wirklich löschen?");
inline const QString kUmbuchenTitel = QStringLiteral("vorläufige Leistungen umbuchen");
inline const QString kBearbeitenTitel = QStringLiteral("vorläufige Leistung bearbeiten");
inline const QString kBuchenTitel = QStringLiteral("vorläufige Leistungen buchen");
inline const QString kNichtGebuchtEine =
    QStringLiteral("1 Leistung wurde nicht gebucht, da ihr kein Auftrag zugeordnet ist.");
inline const QString kNichtGebuchtMehrere =
    QStringLiteral(" Leistungen wurden nicht gebucht, da ihnen kein Auftrag zugeordnet ist.");
inline const QString kTelefonat = QStringLiteral("Telefonat ab ");

// Stopwatches without an office order stay open while the employee may not assign their
// finished entries afterwards.
inline const QString kOhneAuftragTitel = QStringLiteral("Vorgang beenden");
inline const QString kOhneAuftrag = QStringLiteral(
    "Vorgänge ohne Auftrag werden nicht beendet und bleiben unter 'Vorgänge' stehen.\n"
    "Bitte ordnen Sie ihnen dort zuerst einen Auftrag zu: Ihre vorläufigen Leistungen "
    "könnten Sie sonst nicht mehr zuordnen, buchen oder löschen.");

}  // namespace orv::ui::texte
