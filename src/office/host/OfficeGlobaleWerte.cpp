#include "office/host/OfficeGlobaleWerte.h"

#include "persistence/DbService.h"

namespace orv::office {

OfficeGlobaleWerte::OfficeGlobaleWerte(db::Database& database) : database_(database) {}

bool OfficeGlobaleWerte::Wert(std::int32_t number) {
    db::DbService service(database_);
    service.Open();
    if (service.OpenQuery(QStringLiteral("SELECT dbWert FROM tGlobaleWerte WHERE dlNummer = $1"),
                          db::Params{std::int64_t{number}}) == 0) {
        return false;
    }
    return service.FieldBool("dbWert");
}

}  // namespace orv::office
