#include "admin/AdminCommands.h"

#include "admin/AdminFailure.h"
#include "admin/OfficeListing.h"
#include "office/demo/DemoData.h"
#include "office/procedures/OfficeCatalogue.h"
#include "office/schema/Migrations.h"
#include "persistence/Database.h"
#include "session/diagnostics/OrvError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace orv::admin {
namespace {

QString quoted(const QString& text) {
    return QStringLiteral("„%1“").arg(text);
}

// SQLite creates a missing file on open; only the commands that create a database may.
void requireExistingFile(const AdminCall& call) {
    if (call.target.backend == db::Backend::Sqlite && !QFileInfo::exists(call.target.sqlitePath)) {
        throw AdminFailure(QStringLiteral("Die Datenbankdatei %1 gibt es nicht. Anlegen mit: "
                                          "orv-admin migrate %2")
                               .arg(quoted(call.target.sqlitePath), call.targetText));
    }
}

void requireCreatableFile(const AdminCall& call) {
    if (call.target.backend != db::Backend::Sqlite) {
        return;
    }
    const QFileInfo file(call.target.sqlitePath);
    if (file.isDir()) {
        throw AdminFailure(QStringLiteral("%1 ist ein Verzeichnis, keine Datenbankdatei.")
                               .arg(quoted(file.filePath())));
    }
    if (!file.absoluteDir().exists()) {
        throw AdminFailure(QStringLiteral("Das Verzeichnis %1 gibt es nicht.")
                               .arg(quoted(file.absoluteDir().path())));
    }
}

// The schema must be the one this program knows, neither missing nor older nor newer.
void requireCurrentSchema(db::Database& database, const AdminCall& call) {
    const int current = office::currentSchemaVersion(database);
    const int latest = office::latestSchemaVersion();
    if (current == 0) {
        throw AdminFailure(QStringLiteral("In %1 gibt es noch kein Schema. Anlegen mit: orv-admin "
                                          "migrate %2")
                               .arg(describeTarget(call.target), call.targetText));
    }
    if (current < latest) {
        throw AdminFailure(QStringLiteral("%1 hat Schemaversion %2, aktuell ist %3. Aktualisieren "
                                          "mit: orv-admin migrate %4")
                               .arg(describeTarget(call.target))
                               .arg(current)
                               .arg(latest)
                               .arg(call.targetText));
    }
    if (current > latest) {
        throw AdminFailure(QStringLiteral("%1 hat Schemaversion %2; dieses Programm kennt nur "
                                          "Versionen bis %3.")
                               .arg(describeTarget(call.target))
                               .arg(current)
                               .arg(latest));
    }
}

// Brings the schema up to date and reports the versions before and after.
void migrateAndReport(db::Database& database, const AdminCall& call, QTextStream& out) {
    const int before = office::currentSchemaVersion(database);
    const int latest = office::latestSchemaVersion();
    if (before > latest) {
        throw AdminFailure(QStringLiteral("%1 hat Schemaversion %2; dieses Programm kennt nur "
                                          "Versionen bis %3 und ändert nichts daran.")
                               .arg(describeTarget(call.target))
                               .arg(before)
                               .arg(latest));
    }
    const int applied = office::migrate(database);
    const int after = office::currentSchemaVersion(database);
    out << describeTarget(call.target) << '\n';
    if (applied == 0) {
        out << QStringLiteral("Schemaversion %1: schon aktuell, nichts geändert.\n").arg(after);
    } else {
        out << QStringLiteral("Schemaversion alt: %1, neu: %2 (%3 Migrationen angewendet).\n")
                   .arg(before)
                   .arg(after)
                   .arg(applied);
    }
}

bool looksLikeSqlite(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray header = file.read(16);
    return header.isEmpty() || header == QByteArray("SQLite format 3", 16);
}

}  // namespace

QString describeTarget(const db::DbTarget& target) {
    if (target.backend == db::Backend::Sqlite) {
        return QStringLiteral("SQLite-Datei %1").arg(quoted(target.sqlitePath));
    }
    return QStringLiteral("PostgreSQL-Datenbank %1").arg(quoted(target.conninfoWithoutPassword()));
}

void migrateCommand(const AdminCall& call, QTextStream& out) {
    requireCreatableFile(call);
    db::Database database(call.target, &office::officeCatalogue());
    migrateAndReport(database, call, out);
}

void demoCommand(const AdminCall& call, QTextStream& out) {
    requireCreatableFile(call);
    db::Database database(call.target, &office::officeCatalogue());
    migrateAndReport(database, call, out);
    if (office::loadDemoData(database)) {
        out << QStringLiteral("Demodaten geladen.\n");
    } else {
        out << QStringLiteral("Die Demodaten waren schon da; nichts geändert.\n");
    }
}

void showCommand(const AdminCall& call, QTextStream& out) {
    requireExistingFile(call);
    db::Database database(call.target, &office::officeCatalogue());
    requireCurrentSchema(database, call);
    out << OfficeListing(database).provisionalRows(call.employeeId);
}

void overviewCommand(const AdminCall& call, QTextStream& out) {
    requireExistingFile(call);
    db::Database database(call.target, &office::officeCatalogue());
    requireCurrentSchema(database, call);
    out << describeTarget(call.target)
        << QStringLiteral(", Schemaversion %1\n\n").arg(office::currentSchemaVersion(database));
    out << OfficeListing(database).overview();
}

void recreateCommand(const AdminCall& call, QTextStream& out) {
    // The arguments were checked: an SQLite file, and the caller asked to overwrite it.
    requireCreatableFile(call);
    const QString path = call.target.sqlitePath;
    const bool existed = QFileInfo::exists(path);
    if (existed) {
        if (!looksLikeSqlite(path)) {
            throw AdminFailure(QStringLiteral("%1 ist keine SQLite-Datenbank; orv-admin löscht "
                                              "sie nicht.")
                                   .arg(quoted(path)));
        }
        // The journal files belong to the database; a stale one would be replayed into the new.
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                      QStringLiteral("-journal")}) {
            const QString file = path + suffix;
            if (QFileInfo::exists(file) && !QFile::remove(file)) {
                throw AdminFailure(
                    QStringLiteral("Die Datei %1 lässt sich nicht löschen.").arg(quoted(file)));
            }
        }
        out << QStringLiteral("Die Datei %1 wurde gelöscht.\n").arg(quoted(path));
    }
    db::Database database(call.target, &office::officeCatalogue());
    migrateAndReport(database, call, out);
}

int runAdmin(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const ParsedArguments parsed = parseAdminArguments(arguments);
    if (!parsed.call) {
        err << "orv-admin: " << parsed.error << '\n' << QStringLiteral("Hilfe: orv-admin --help\n");
        err.flush();
        return kExitUsage;
    }
    const AdminCall& call = *parsed.call;
    int code = kExitOk;
    try {
        switch (call.command) {
            case AdminCommand::Help:
                out << adminUsage();
                break;
            case AdminCommand::Migrate:
                migrateCommand(call, out);
                break;
            case AdminCommand::Demo:
                demoCommand(call, out);
                break;
            case AdminCommand::Show:
                showCommand(call, out);
                break;
            case AdminCommand::Overview:
                overviewCommand(call, out);
                break;
            case AdminCommand::Recreate:
                recreateCommand(call, out);
                break;
        }
    } catch (const AdminFailure& failure) {
        err << "orv-admin: " << failure.message() << '\n';
        code = kExitFailure;
    } catch (const OrvError& error) {
        err << "orv-admin: " << describeTarget(call.target)
            << QStringLiteral(" meldet einen Fehler: ") << error.description() << '\n';
        code = kExitFailure;
    } catch (const std::exception& error) {
        err << "orv-admin: " << describeTarget(call.target)
            << QStringLiteral(" meldet einen Fehler: ") << QString::fromLocal8Bit(error.what())
            << '\n';
        code = kExitFailure;
    }
    out.flush();
    err.flush();
    return code;
}

}  // namespace orv::admin
