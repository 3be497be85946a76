#include "office/widgets/ctlMandant.h"

#include "office/directory/SearchText.h"

namespace orv::office {
namespace {

// Longer digit strings are no client number of the office.
constexpr qsizetype kNummerStellen = 9;

}  // namespace

ctlMandant::ctlMandant(db::Database& database, QWidget* parent)
    : DirectoryPicker(parent, QStringLiteral("Mandant auswählen")), directory_(database) {
    Caption(QStringLiteral("Mandant"));
}

void ctlMandant::MandantId(std::int32_t id) {
    mandantId_ = id;
    const std::optional<ClientEntry> mandant =
        id > 0 ? directory_.byId(id) : std::optional<ClientEntry>();
    if (mandant) {
        zeigen(*mandant);
    } else {
        DirectoryPicker::zeigen({}, {});
    }
}

void ctlMandant::zeigen(const ClientEntry& mandant) {
    DirectoryPicker::zeigen(QString::number(mandant.nummer), mandant.kurzname);
}

std::vector<PickerItem> ctlMandant::eintraege(const QString& typed, int limit) const {
    std::vector<PickerItem> items;
    for (const ClientEntry& mandant : directory_.matching(typed, limit)) {
        items.push_back({QString::number(mandant.nummer) + QStringLiteral("  ") + mandant.kurzname +
                             (mandant.name != mandant.kurzname
                                  ? QStringLiteral(" (") + mandant.name + QLatin1Char(')')
                                  : QString()),
                         mandant.id});
    }
    return items;
}

bool ctlMandant::aufloesen(const QString& text) {
    mandantId_ = 0;
    if (text.size() > kNummerStellen || !search::isDigits(text)) {
        return false;
    }
    const std::optional<ClientEntry> mandant = directory_.byNumber(text.toInt());
    if (!mandant) {
        return false;
    }
    mandantId_ = mandant->id;
    DirectoryPicker::zeigen(text, mandant->kurzname);
    return true;
}

void ctlMandant::waehlen(std::int32_t id) {
    MandantId(id);
}

QString ctlMandant::unbekannt(const QString& text) const {
    return search::isDigits(text)
               ? QStringLiteral("Es gibt keinen Mandanten mit der Nummer %1.").arg(text)
               : QStringLiteral("Kein Mandant zu „%1“ gewählt.").arg(text);
}

}  // namespace orv::office
