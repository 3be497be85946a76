#include "session/EmployeeSwitch.h"

#include "model/CAuftrag.h"
#include "session/CStoppUhren.h"

namespace orv {

CountingPaused::CountingPaused(CStoppUhren& session) : session_(session) {
    session_.ZeitzaehlungAktiv(false);
}

CountingPaused::~CountingPaused() {
    session_.ZeitzaehlungAktiv(true);
}

bool stoppuhrWechseln(CStoppUhren& session, QString& key, bool neu) {
    CountingPaused paused(session);
    bool beenden = false;
    session.AuftragAnhalten(beenden);
    return session.AuftragStarten(key, neu);
}

bool stoppuhrAnhalten(CStoppUhren& session) {
    if (!session.AuftragLaeuft()) {
        return false;
    }
    QString idle = CAuftrag::LeerlaufKey();
    return stoppuhrWechseln(session, idle);
}

bool stoppuhrBeenden(CStoppUhren& session, const QString& key) {
    CountingPaused paused(session);
    QString k = key;
    return session.AuftragBeenden(k);
}

}  // namespace orv
