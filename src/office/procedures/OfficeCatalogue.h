#pragma once

namespace orv::db {
class ProcedureCatalogue;
}

namespace orv::office {

// The stored procedures and functions of the office database, the same for both backends.
const db::ProcedureCatalogue& officeCatalogue();

}  // namespace orv::office
