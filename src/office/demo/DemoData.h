#pragma once

namespace orv::db {
class Database;
}

namespace orv::office {

// The demo office: employees with and without rights, clients, order kinds, matters, orders,
// standard texts, the office-wide user settings and global values. Loading into a database that
// already holds demo data changes nothing; existing data of a real office is never touched.
// Returns false when the demo data was already there.
bool loadDemoData(db::Database& database);

}  // namespace orv::office
