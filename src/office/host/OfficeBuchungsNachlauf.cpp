#include "office/host/OfficeBuchungsNachlauf.h"

#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/Dialect.h"

namespace orv::office {

OfficeBuchungsNachlauf::OfficeBuchungsNachlauf(db::Database& database) : database_(database) {}

void OfficeBuchungsNachlauf::AuftragNachlauf(std::int32_t& auftragId, bool&) {
    // One statement, so two workstations booking on the same order count both bookings.
    db::DbService service(database_);
    service.Open();
    service.Execute(QStringLiteral("INSERT INTO tAuftragNachlauf (flAuftrag, dtLetzteBuchung)"
                                   " SELECT idAuftrag, %1 FROM tAuftrag WHERE idAuftrag = $1"
                                   " ON CONFLICT (flAuftrag) DO UPDATE"
                                   " SET dtLetzteBuchung = excluded.dtLetzteBuchung,"
                                   " dlBuchungen = tAuftragNachlauf.dlBuchungen + 1")
                        .arg(QLatin1String(db::dialectFor(database_.backend()).now)),
                    db::Params{std::int64_t{auftragId}});
}

}  // namespace orv::office
