#include "office/host/OfficeAuftragBenachrichtigung.h"

#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/Dialect.h"

namespace orv::office {

OfficeAuftragBenachrichtigung::OfficeAuftragBenachrichtigung(db::Database& database)
    : database_(database) {}

void OfficeAuftragBenachrichtigung::Auftrag(std::int32_t auftragId, std::int32_t art) {
    // Stamped by the database's clock: the office orders the notices of all workstations by it.
    db::DbService service(database_);
    service.Open();
    service.Execute(
        QStringLiteral("INSERT INTO tAuftragBenachrichtigung"
                       " (flAuftrag, flMitarbeiter, diArt, dtZeit)"
                       " VALUES ($1, $2, $3, %1)")
            .arg(QLatin1String(db::dialectFor(database_.backend()).now)),
        db::Params{std::int64_t{auftragId}, std::int64_t{mitarbeiterId_}, std::int64_t{art}});
}

}  // namespace orv::office
