#pragma once

#include "persistence/Backend.h"

namespace orv::db {

// What the office's statements write in T-SQL and the two databases write differently, written
// out per backend. Statement texts take their numbers as %1, %2 (QString::arg), as the component
// joins them in.
struct Dialect {
    // GETDATE(): the database's local time, to the second.
    const char* now;
    // The newest logout of the employee other than the current login; NULLs sort last, as on the
    // office server. %1 employee, %2 current login id.
    const char* lastLogoutQuery;
    // The rights function: one row with column x. %1 employee, %2 right.
    const char* rightCheckQuery;
    // Start and end of a pause, stamped by the database's clock. %1 employee.
    const char* pauseBeginStatement;
    const char* pauseEndStatement;

    // Column types of the office schema.
    const char* identityKey;  // integer key that the database assigns
    const char* dateTime;     // local date and time, whole seconds
    const char* money;        // four decimals
};

const Dialect& dialectFor(Backend backend);

}  // namespace orv::db
