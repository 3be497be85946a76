#pragma once

#include <cstdint>

namespace orv::db {
class Database;
}

namespace orv {

// Writes the status of one order or entry row through a service of its own. Row and status are
// bound, so one prepared statement serves every row.
void writeRowStatus(db::Database& database, std::int32_t rowId, std::int32_t status);

}  // namespace orv
