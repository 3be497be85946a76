#include "office/host/OfficeQeLeistung.h"

#include "persistence/DbService.h"
#include "session/diagnostics/OrvError.h"

namespace orv::office {

OfficeQeLeistung::OfficeQeLeistung(db::Database& database) : database_(database) {}

db::Currency OfficeQeLeistung::Kennzahl(std::int32_t auftragId) {
    // Summed in ten-thousandths by the database: SQLite keeps the amounts as binary fractions,
    // and the whole number rounds their noise away before it reaches the comparison with zero.
    db::DbService service(database_);
    service.Open();
    service.OpenQuery(QStringLiteral("SELECT CAST(ROUND(COALESCE(SUM(dmAnzahl), 0) * 10000)"
                                     " AS BIGINT) AS menge FROM tLeistung WHERE flAuftrag = $1"),
                      db::Params{std::int64_t{auftragId}});
    bool ok = false;
    const qlonglong tenThousandths = service.FieldText("menge").toLongLong(&ok);
    if (!ok) {
        throw OrvError(err::kDatabase, QStringLiteral("OfficeQeLeistung"),
                       QStringLiteral("Die Leistungsstunden des Auftrags %1 sind nicht lesbar.")
                           .arg(auftragId));
    }
    return db::Currency{tenThousandths};
}

}  // namespace orv::office
