// What a session that ended without Beenden (a host that crashed or was killed) left open: its
// login and, when it died during a pause, the pause.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"

#include <functional>
#include <utility>
#include <vector>

namespace orv {
namespace {

struct OffeneAnmeldung {
    std::int32_t id;
    QDateTime von;
    QDateTime naechste;  // the start of the employee's next login; null when there is none
};

// Moments at which the session is known to have run, from its rows: every begin and end of an
// order or entry. A productive entry that still runs also ran until its last save, at least
// its begin plus its seconds, provided it began within the login (an entry carried over from
// an earlier session brings older seconds along, which the idle entry always does).
struct Zeitpunkte {
    std::vector<QDateTime> sicher;
    std::vector<std::pair<QDateTime, QDateTime>> laufend;  // begin, begin + saved seconds
};

}  // namespace

std::function<void()> CStoppUhren::offeneAnmeldungenSchliessen() {
    db::Database& database = platform_.officeDatabase();
    const QDateTime jetzt = platform_.clock().now();
    const db::Params mitarbeiter{std::int64_t{mitarbeiterId_}};
    db::DbService service(database);
    service.Open();

    std::vector<OffeneAnmeldung> offen;
    for (bool mehr =
             service.OpenQuery(
                 QStringLiteral(
                     "SELECT l.idLeistungZeiterfassungLogin AS id, l.LeistungserfassungAnmeldung "
                     "AS von, (SELECT MIN(n.LeistungserfassungAnmeldung) FROM "
                     "tLeistungZeiterfassungLogins n WHERE n.Ps_Id = l.Ps_Id AND "
                     "n.LeistungserfassungAnmeldung > l.LeistungserfassungAnmeldung) AS naechste "
                     "FROM tLeistungZeiterfassungLogins l WHERE l.Ps_Id = $1 AND "
                     "l.LeistungserfassungAbmeldung IS NULL"),
                 mitarbeiter) >= 1;
         mehr; mehr = service.Move(3)) {
        offen.push_back(
            {service.FieldLong("id"), service.FieldDate("von"), service.FieldDate("naechste")});
    }
    service.CloseQuery();
    service.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM tLeistungZeiterfassungPausen "
                                     "WHERE Ps_id = $1 AND PauseBis IS NULL"),
                      mitarbeiter);
    const bool offenePause = service.FieldLong("n") > 0;
    service.CloseQuery();
    if (offen.empty() && !offenePause) {
        service.Close();
        return {};
    }

    Zeitpunkte zeitpunkte;
    for (bool mehr = service.OpenQuery(
                         QStringLiteral("SELECT Beginn, Ende, Sekunden, Status, VorgangParentId, "
                                        "VorgangParentKey FROM tLeistungZeiterfassung WHERE "
                                        "ps_id = $1"),
                         mitarbeiter) >= 1;
         mehr; mehr = service.Move(3)) {
        const QDateTime beginn = service.FieldDate("Beginn");
        zeitpunkte.sicher.push_back(beginn);
        zeitpunkte.sicher.push_back(service.FieldDate("Ende"));
        if (beginn.isValid() && service.FieldLong("VorgangParentId") > 0 &&
            service.FieldText("VorgangParentKey") != CAuftrag::LeerlaufKey() &&
            service.FieldLong("Status") == AuftragStatus_Aktiv) {
            zeitpunkte.laufend.emplace_back(beginn, beginn.addSecs(service.FieldLong("Sekunden")));
        }
    }
    service.CloseQuery();
    service.Close();

    // Each open login ends at the last moment its session is known to have run, never before
    // its own start nor at or after the next login's start or now: login records never
    // overlap, and none claims time after the session died. The time from there to now stays
    // uncounted; the stopwatch that ran loses at most what it counted since its last save.
    std::vector<std::pair<std::int32_t, QDateTime>> enden;
    for (const OffeneAnmeldung& anmeldung : offen) {
        const QDateTime grenze =
            anmeldung.naechste.isValid() && anmeldung.naechste < jetzt ? anmeldung.naechste : jetzt;
        QDateTime ende = anmeldung.von;
        const auto spaeter = [&](const QDateTime& moment) {
            if (moment.isValid() && moment > ende && moment < grenze) {
                ende = moment;
            }
        };
        for (const QDateTime& moment : zeitpunkte.sicher) {
            spaeter(moment);
        }
        for (const auto& [beginn, gesichert] : zeitpunkte.laufend) {
            if (beginn > anmeldung.von) {
                spaeter(gesichert);
            }
        }
        enden.emplace_back(anmeldung.id, ende);
    }
    return [this, &database, enden, offenePause] {
        db::DbService schreiben(database);
        schreiben.Open();
        for (const auto& [id, ende] : enden) {
            schreiben.Execute(QStringLiteral("UPDATE tLeistungZeiterfassungLogins SET "
                                             "LeistungserfassungAbmeldung = $1 WHERE "
                                             "idLeistungZeiterfassungLogin = $2"),
                              db::Params{ende, std::int64_t{id}});
        }
        schreiben.Close();
        // The pause lasted until now: the employee comes back with this start.
        if (offenePause) {
            DbAccess().PausenEnde();
        }
    };
}

}  // namespace orv
