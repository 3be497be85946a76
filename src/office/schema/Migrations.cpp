#include "office/schema/Migrations.h"

#include "office/directory/SearchText.h"
#include "office/procedures/OfficeCatalogue.h"
#include "office/schema/SchemaSteps.h"
#include "persistence/Database.h"
#include "persistence/Dialect.h"
#include "persistence/ProcedureCatalogue.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <QRegularExpression>

#include <string>

namespace orv::office {
namespace {

const QString kSource = QStringLiteral("Migrations");

// Any fixed number: all workstations that migrate the same PostgreSQL database at the same time
// wait for each other on it.
constexpr const char* kPostgresMigrationLock = "SELECT pg_advisory_xact_lock(4711002)";

constexpr const char* kVersionTable =
    "CREATE TABLE IF NOT EXISTS tSchemaVersion ("
    " diVersion INTEGER NOT NULL PRIMARY KEY,"
    " dcBeschreibung VARCHAR(120) NOT NULL DEFAULT '',"
    " dtAngewendet {DATE} NOT NULL)";

std::string withColumnTypes(const char* ddlText, db::Backend backend) {
    const db::Dialect& dialect = db::dialectFor(backend);
    QString ddl = QString::fromUtf8(ddlText);
    ddl.replace(QLatin1String("{KEY}"), QLatin1String(dialect.identityKey))
        .replace(QLatin1String("{DATE}"), QLatin1String(dialect.dateTime))
        .replace(QLatin1String("{MONEY}"), QLatin1String(dialect.money))
        .replace(QLatin1String("{BYTES}"), backend == db::Backend::Postgres
                                               ? QLatin1String("COLLATE \"C\"")
                                               : QLatin1String("COLLATE BINARY"));
    static const QRegularExpression fold(QStringLiteral("\\{FOLD:([\\w.]+)\\}"));
    for (auto match = fold.match(ddl); match.hasMatch(); match = fold.match(ddl)) {
        ddl.replace(match.capturedStart(), match.capturedLength(),
                    search::foldSql(backend, match.captured(1)));
    }
    return ddl.toStdString();
}

bool versionTableExists(db::Connection& connection) {
    const char* sql =
        connection.backend() == db::Backend::Sqlite
            ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"
              " AND lower(name) = 'tschemaversion'"
            : "SELECT COUNT(*) FROM information_schema.tables"
              " WHERE table_schema = current_schema() AND table_name = 'tschemaversion'";
    auto cursor = connection.query(sql);
    return cursor->next() && cursor->toInt64(0) > 0;
}

int recordedVersion(db::Connection& connection) {
    if (!versionTableExists(connection)) {
        return 0;
    }
    auto cursor = connection.query("SELECT COALESCE(MAX(diVersion), 0) FROM tSchemaVersion");
    return cursor->next() ? static_cast<int>(cursor->toInt64(0)) : 0;
}

// PostgreSQL keeps the catalogue's scalar functions as SQL functions of whole-number arguments
// that answer a whole number, as SQLite's registered functions do.
void createPostgresFunctions(db::Connection& connection) {
    for (const db::ScalarFunctionDef& def : officeCatalogue().functions()) {
        std::string arguments;
        for (int i = 0; i < def.argumentCount; ++i) {
            arguments += i == 0 ? "integer" : ", integer";
        }
        std::string body;
        for (char c : def.sql) {
            body += c;
            if (c == '\'') {
                body += '\'';
            }
        }
        connection.executeScript("CREATE OR REPLACE FUNCTION " + def.name + "(" + arguments +
                                 ") RETURNS integer LANGUAGE sql STABLE AS '" + body + "'");
    }
}

void applyStep(db::Connection& connection, const schema::SchemaStep& step) {
    connection.executeScript(withColumnTypes(step.ddl, connection.backend()));
    const char* own =
        connection.backend() == db::Backend::Postgres ? step.postgresDdl : step.sqliteDdl;
    if (own != nullptr) {
        connection.executeScript(withColumnTypes(own, connection.backend()));
    }
    if (step.createsFunctions && connection.backend() == db::Backend::Postgres) {
        createPostgresFunctions(connection);
    }
    const std::string record =
        std::string(
            "INSERT INTO tSchemaVersion (diVersion, dcBeschreibung, dtAngewendet)"
            " VALUES ($1, $2, ") +
        db::dialectFor(connection.backend()).now + ")";
    connection.execute(record, std::vector<db::DbValue>{static_cast<std::int64_t>(step.version),
                                                        QString::fromUtf8(step.description)});
}

}  // namespace

int latestSchemaVersion() {
    const auto steps = schema::schemaSteps();
    return steps.empty() ? 0 : steps.back().version;
}

int currentSchemaVersion(db::Database& database) {
    return recordedVersion(*database.connection());
}

int migrate(db::Database& database) {
    return migrate(database, latestSchemaVersion());
}

int migrate(db::Database& database, int upToVersion) {
    const std::shared_ptr<db::Connection> connection = database.connection();
    const bool postgres = connection->backend() == db::Backend::Postgres;
    {
        db::Transaction transaction(*connection);
        if (postgres) {
            connection->query(kPostgresMigrationLock);
        }
        connection->executeScript(withColumnTypes(kVersionTable, connection->backend()));
        transaction.commit();
    }
    const int known = latestSchemaVersion();
    const int found = recordedVersion(*connection);
    if (found > known) {
        throw OrvError(err::kDatabase, kSource,
                       QStringLiteral("Die Datenbank hat den Schemastand %1, dieses Programm kennt "
                                      "nur die Stände bis %2. Bitte installieren Sie die neuere "
                                      "Programmversion.")
                           .arg(found)
                           .arg(known));
    }
    int applied = 0;
    for (const schema::SchemaStep& step : schema::schemaSteps()) {
        if (step.version > upToVersion) {
            break;
        }
        if (step.version <= found) {
            continue;
        }
        db::Transaction transaction(*connection);
        if (postgres) {
            connection->query(kPostgresMigrationLock);
        }
        // Another workstation may have applied the step while this one waited.
        if (recordedVersion(*connection) >= step.version) {
            transaction.commit();
            continue;
        }
        try {
            applyStep(*connection, step);
        } catch (OrvError& e) {
            e.setDescription(QStringLiteral("Schemastand %1 (%2) konnte nicht angelegt werden: %3")
                                 .arg(step.version)
                                 .arg(QString::fromUtf8(step.description), e.description()));
            throw;
        }
        transaction.commit();
        ++applied;
    }
    return applied;
}

}  // namespace orv::office
