#include "Rebooking.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "session/CStoppUhren.h"
#include "session/runtime/Runtime.h"

namespace orv::load {
namespace {

void move(cLeistung& leistung, std::int32_t seconds) {
    leistung.Sekunden(rt::addLong(leistung.Sekunden(), seconds));
    CAuftrag& auftrag = leistung.Auftrag();
    auftrag.Sekunden(rt::addLong(auftrag.Sekunden(), seconds));
    auftrag.Speichern();
    leistung.Speichern(false);
}

}  // namespace

std::int32_t rebook(CStoppUhren& session, cLeistung& source, cLeistung* target, std::int32_t amount,
                    bool fromIdle) {
    cLeistung& ziel =
        target != nullptr ? *target : *session.LeerlaufAuftrag().Leistung(QStringLiteral("1"));
    // The target first: a failure in between leaves the time counted twice, never lost.
    move(ziel, amount);
    move(source, rt::subtractLong(0, amount));
    if (target == nullptr) {
        session.AuftragsSekunden(rt::subtractLong(session.AuftragsSekunden(), amount));
    }
    if (fromIdle) {
        session.AuftragsSekunden(rt::addLong(session.AuftragsSekunden(), amount));
    }
    if (source.Sekunden() == 0 && !source.Auftrag().Leerlauf()) {
        source.Loeschen(false);
        return BearbeitungStati_Geloescht;
    }
    return BearbeitungStati_Geaendert;
}

}  // namespace orv::load
