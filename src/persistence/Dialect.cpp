#include "persistence/Dialect.h"

namespace orv::db {
namespace {

constexpr Dialect kSqlite{
    "datetime('now','localtime')",
    "SELECT LeistungserfassungAbmeldung FROM tLeistungZeiterfassungLogins"
    " WHERE Ps_Id = %1 AND idLeistungZeiterfassungLogin <> %2"
    " ORDER BY LeistungserfassungAbmeldung  DESC LIMIT 1",
    "SELECT F_ORV_System_CheckEmployeeRight_Function(%1,%2) as x ",
    "INSERT INTO tLeistungZeiterfassungPausen (PauseVon,Ps_id)"
    " VALUES(datetime('now','localtime'),%1)",
    "UPDATE tLeistungZeiterfassungPausen SET  PauseBis= datetime('now','localtime')"
    " WHERE Ps_id = %1 AND PauseBis IS NULL",
    "INTEGER PRIMARY KEY AUTOINCREMENT",
    "TEXT",
    "NUMERIC(18,4)",
};

constexpr Dialect kPostgres{
    "LOCALTIMESTAMP(0)",
    "SELECT LeistungserfassungAbmeldung FROM tLeistungZeiterfassungLogins"
    " WHERE Ps_Id = %1 AND idLeistungZeiterfassungLogin <> %2"
    " ORDER BY LeistungserfassungAbmeldung  DESC NULLS LAST LIMIT 1",
    "SELECT F_ORV_System_CheckEmployeeRight_Function(%1,%2) as x ",
    "INSERT INTO tLeistungZeiterfassungPausen (PauseVon,Ps_id) VALUES(LOCALTIMESTAMP(0),%1)",
    "UPDATE tLeistungZeiterfassungPausen SET  PauseBis= LOCALTIMESTAMP(0)"
    " WHERE Ps_id = %1 AND PauseBis IS NULL",
    "SERIAL PRIMARY KEY",
    "TIMESTAMP(0)",
    "NUMERIC(18,4)",
};

}  // namespace

const Dialect& dialectFor(Backend backend) {
    return backend == Backend::Sqlite ? kSqlite : kPostgres;
}

}  // namespace orv::db
