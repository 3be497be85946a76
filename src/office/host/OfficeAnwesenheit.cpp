#include "office/host/OfficeAnwesenheit.h"

#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/Dialect.h"

namespace orv::office {

OfficeAnwesenheit::OfficeAnwesenheit(db::Database& database) : database_(database) {}

void OfficeAnwesenheit::Abwesenheit(std::int32_t art, std::int32_t mitarbeiterNr,
                                    const QString& text, bool beginn) {
    const QString now = QLatin1String(db::dialectFor(database_.backend()).now);
    db::DbService service(database_);
    service.Open();
    if (beginn) {
        service.Execute(QStringLiteral("INSERT INTO tMitarbeiterAbwesenheit"
                                       " (dlMitarbeiterNr, diArt, dcText, dtBeginn)"
                                       " VALUES ($1, $2, $3, %1)")
                            .arg(now),
                        db::Params{std::int64_t{mitarbeiterNr}, std::int64_t{art}, text});
    } else {
        service.Execute(QStringLiteral("UPDATE tMitarbeiterAbwesenheit SET dtEnde = %1"
                                       " WHERE dlMitarbeiterNr = $1 AND diArt = $2"
                                       " AND dtEnde IS NULL")
                            .arg(now),
                        db::Params{std::int64_t{mitarbeiterNr}, std::int64_t{art}});
    }
}

}  // namespace orv::office
