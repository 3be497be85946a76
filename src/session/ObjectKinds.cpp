#include "session/ObjectKinds.h"

#include "model/CAuftrag.h"
#include "session/CStoppUhren.h"

namespace orv {

Objektarten objektartenErfragen(CStoppUhren& session, const QString& kennerText) {
    Objektarten arten;
    arten.vuv = session.fbIsVuV(kennerText);
    arten.bewertung = session.fbIsBewertung(kennerText);
    arten.schenkung = session.fbIsSchenkung(kennerText);
    arten.erbschaft = session.fbIsErbschaft(kennerText);
    arten.grundsteuer = session.fbIsGrundsteuer(kennerText);
    return arten;
}

void objektartenSetzen(CAuftrag& auftrag, const Objektarten& arten) {
    auftrag.VuVAuftrag(arten.vuv);
    auftrag.IsBewertung(arten.bewertung);
    auftrag.IsSchenkung(arten.schenkung);
    auftrag.IsErbschaft(arten.erbschaft);
    auftrag.IsGrundsteuer(arten.grundsteuer);
}

QString objektText(std::int32_t objektNr, const QString& bezeichnung) {
    return QStringLiteral("Objekt Nr.: ") +
           (QString::number(objektNr) + QLatin1Char(' ') + bezeichnung).trimmed();
}

}  // namespace orv
