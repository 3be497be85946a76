#pragma once

namespace orv::db {
class Database;
}

namespace orv::office {

// The office database schema as numbered migrations, the same for both backends. A database
// records the number of the last migration applied; applying brings it up to date and never
// drops data.
int latestSchemaVersion();
int currentSchemaVersion(db::Database& database);  // 0 for an empty database
// Applies every migration the database lacks, each in one transaction; returns how many ran.
int migrate(db::Database& database);
// The same, but stops after the given version: builds the database an older program left.
int migrate(db::Database& database, int upToVersion);

}  // namespace orv::office
