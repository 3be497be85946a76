#include "office/widgets/ctlAufArtAng.h"

#include "office/directory/SearchText.h"

#include <QRegularExpression>

namespace orv::office {
namespace {

// "10/101", and on the way to it "10/" and "10/1": the order kind's and the matter's digits.
const QRegularExpression kNummern(QStringLiteral("^(\\d{1,9})/(\\d{0,9})$"));

QString schluessel(const MatterEntry& matter) {
    return QString::number(matter.auftragArtNr) + QLatin1Char('/') +
           QString::number(matter.angelegenheitNr);
}

}  // namespace

ctlAufArtAng::ctlAufArtAng(db::Database& database, QWidget* parent)
    : DirectoryPicker(parent, QStringLiteral("Angelegenheit auswählen")), directory_(database) {
    Caption(QStringLiteral("Angelegenheit"));
}

void ctlAufArtAng::AuftragArtNr(std::int32_t nummer) {
    auswahl_.auftragArtNr = nummer;
    anzeigen();
}

void ctlAufArtAng::AngelegenheitNr(std::int32_t nummer) {
    auswahl_.angelegenheitNr = nummer;
    anzeigen();
}

void ctlAufArtAng::AngelegenheitId(std::int32_t id) {
    auswahl_.angelegenheitId = id;
}

void ctlAufArtAng::Angelegenheit(const QString& text) {
    auswahl_.angelegenheit = text;
    anzeigen();
}

void ctlAufArtAng::AuftragArt(const QString& text) {
    auswahl_.auftragArt = text;
    anzeigen();
}

void ctlAufArtAng::anzeigen() {
    const bool gesetzt = auswahl_.auftragArtNr > 0 || auswahl_.angelegenheitNr > 0;
    DirectoryPicker::zeigen(gesetzt ? schluessel(auswahl_) : QString(), auswahl_.angelegenheit);
    setToolTip(auswahl_.auftragArt);
}

std::vector<PickerItem> ctlAufArtAng::eintraege(const QString& typed, int limit) const {
    // "10/1": the matters of order kind 10 whose number starts with 1.
    const QRegularExpressionMatch nummern = kNummern.match(typed);
    const QString gesucht = nummern.hasMatch() ? nummern.captured(1) : typed;
    std::vector<PickerItem> items;
    for (const MatterEntry& matter : directory_.matching(gesucht, limit)) {
        if (nummern.hasMatch() &&
            (QString::number(matter.auftragArtNr) != nummern.captured(1) ||
             !QString::number(matter.angelegenheitNr).startsWith(nummern.captured(2)))) {
            continue;
        }
        items.push_back({schluessel(matter) + QStringLiteral("  ") + matter.angelegenheit +
                             QStringLiteral(" (") + matter.auftragArt + QLatin1Char(')'),
                         matter.angelegenheitId});
    }
    return items;
}

bool ctlAufArtAng::aufloesen(const QString& text) {
    auswahl_ = MatterEntry{};
    setToolTip({});
    const QRegularExpressionMatch nummern = kNummern.match(text);
    if (!nummern.hasMatch() || nummern.captured(2).isEmpty()) {
        return false;
    }
    const std::optional<MatterEntry> matter =
        directory_.byNumbers(nummern.captured(1).toInt(), nummern.captured(2).toInt());
    if (!matter) {
        return false;
    }
    auswahl_ = *matter;
    // The text stays as typed ("010/0101" too); the numbers are what it means.
    DirectoryPicker::zeigen(text, auswahl_.angelegenheit);
    setToolTip(auswahl_.auftragArt);
    return true;
}

void ctlAufArtAng::waehlen(std::int32_t id) {
    const std::optional<MatterEntry> matter = directory_.byId(id);
    auswahl_ = matter ? *matter : MatterEntry{};
    anzeigen();
}

QString ctlAufArtAng::unbekannt(const QString& text) const {
    return kNummern.match(text).hasMatch()
               ? QStringLiteral("Es gibt keine Angelegenheit %1.").arg(text)
               : QStringLiteral("Keine Angelegenheit zu „%1“ gewählt.").arg(text);
}

}  // namespace orv::office
