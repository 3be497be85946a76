#include "model/RowStatus.h"

#include "persistence/DbService.h"

namespace orv {

void writeRowStatus(db::Database& database, std::int32_t rowId, std::int32_t status) {
    db::DbService service(database);
    service.Open();
    service.Execute(QStringLiteral("UPDATE tLeistungzeiterfassung SET Status = $1"
                                   " WHERE idLeistungZeiterfassung = $2"),
                    db::Params{std::int64_t{status}, std::int64_t{rowId}});
    service.Close();
}

}  // namespace orv
