#pragma once

#include <QString>

#include <cstdint>

namespace orv {

class CAuftrag;
class CStoppUhren;

// The kinds of property assessment a matter code belongs to, as the assessment component
// answers the five questions about it.
struct Objektarten {
    bool vuv = false;
    bool bewertung = false;
    bool schenkung = false;
    bool erbschaft = false;
    bool grundsteuer = false;

    // Valued, given, inherited and land-taxed objects are designated in the assessment basis.
    bool grundlage() const { return bewertung || schenkung || erbschaft || grundsteuer; }
};

// Asks the session's five questions about the code, in their order.
Objektarten objektartenErfragen(CStoppUhren& session, const QString& kennerText);
// The order's kind flags.
void objektartenSetzen(CAuftrag& auftrag, const Objektarten& arten);
// "Objekt Nr.: " with the object number and the designation found, if any.
QString objektText(std::int32_t objektNr, const QString& bezeichnung);

}  // namespace orv
