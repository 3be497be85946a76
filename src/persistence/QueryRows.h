#pragma once

#include "persistence/Database.h"
#include "persistence/DbService.h"

#include <QString>

#include <type_traits>
#include <vector>

namespace orv::db {

// Every row of a query, each turned into a value by read, which reads the service's fields.
template <typename Read>
auto queryRows(Database& database, const QString& sql, const Params& params, Read read) {
    std::vector<std::invoke_result_t<Read&, DbService&>> rows;
    DbService service(database);
    service.Open();
    for (bool row = service.OpenQuery(sql, params) > 0; row; row = service.Move()) {
        rows.push_back(read(service));
    }
    service.CloseQuery();
    service.Close();
    return rows;
}

}  // namespace orv::db
