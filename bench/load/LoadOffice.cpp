#include "LoadOffice.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/Database.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <array>

namespace orv::load {
namespace {

// Demo orders whose client, kind and matter the run's orders copy: ordinary matters and two
// property assessments, whose object descriptions the loader looks up. Neither invoiced nor
// closed for time recording.
constexpr std::array<std::int64_t, 6> kTemplateOrders = {5001, 5002, 5003, 5006, 5007, 5011};

// Rights the main window asks for: edit entries (38), sum them (34), browse orders (28).
constexpr std::array<std::int64_t, 3> kRights = {38, 34, 28};

}  // namespace

LoadOffice prepareLoadOffice(db::Database& database, int employees, int orders) {
    office::migrate(database);
    office::loadDemoData(database);
    auto c = database.connection();
    {
        auto existing = c->query("SELECT COUNT(*) FROM tMitarbeiter WHERE idMitarbeiter >= $1",
                                 db::Params{std::int64_t{kFirstEmployee}});
        if (existing->next() && existing->toInt64(0) > 0) {
            throw OrvError(err::kDatabase, QStringLiteral("Lasttest"),
                           QStringLiteral("Die Datenbank enthält bereits Mitarbeiter eines "
                                          "Lasttests; bitte eine leere Datenbank angeben."));
        }
    }
    LoadOffice office;
    office.idleBookingOrder = office::demo::kUnproductiveTimeOrder;
    db::Transaction t(*c);
    for (int i = 0; i < employees; ++i) {
        const std::int64_t id = kFirstEmployee + i;
        c->execute(
            "INSERT INTO tMitarbeiter (idMitarbeiter, dlMitarbeiterNr, dcName) VALUES ($1, $1, $2)",
            db::Params{id, QStringLiteral("Lastmitarbeiter %1").arg(i + 1)});
        for (std::int64_t right : kRights) {
            c->execute("INSERT INTO tMitarbeiterRecht (flMitarbeiter, dlRecht) VALUES ($1, $2)",
                       db::Params{id, right});
        }
        office.employees.push_back(static_cast<std::int32_t>(id));
    }
    for (int i = 0; i < orders; ++i) {
        const std::int64_t source =
            kTemplateOrders[static_cast<std::size_t>(i) % kTemplateOrders.size()];
        auto row = c->query(
            "INSERT INTO tAuftrag (flMandant, flAuftragArt, dlAuftragArtNr, flAngelegenheit,"
            " dlAngelegenheitNr, dlJahr, diMonat, diLfdNr, dlObjektNr, dcAngelegenheitErweitert)"
            " SELECT flMandant, flAuftragArt, dlAuftragArtNr, flAngelegenheit, dlAngelegenheitNr,"
            " dlJahr, diMonat, diLfdNr + $2, dlObjektNr, $3 FROM tAuftrag WHERE idAuftrag = $1"
            " RETURNING idAuftrag",
            db::Params{source, std::int64_t{i + 1}, QStringLiteral("Lastauftrag %1").arg(i + 1)});
        if (!row->next()) {
            throw OrvError(err::kDatabase, QStringLiteral("Lasttest"),
                           QStringLiteral("Der Demo-Auftrag %1 fehlt.").arg(source));
        }
        office.orders.push_back(static_cast<std::int32_t>(row->toInt64(0)));
    }
    t.commit();
    return office;
}

}  // namespace orv::load
