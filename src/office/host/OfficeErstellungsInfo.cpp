#include "office/host/OfficeErstellungsInfo.h"

#include "office/schema/Migrations.h"
#include "persistence/Database.h"
#include "session/diagnostics/OrvError.h"
#include "session/diagnostics/Version.h"

#include <exception>

namespace orv::office {
namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString databaseState(db::Database& database) {
    try {
        const int found = currentSchemaVersion(database);
        return QStringLiteral("antwortet, Schemastand %1 (dieses Programm kennt bis %2)")
            .arg(found)
            .arg(latestSchemaVersion());
    } catch (const OrvError& e) {
        return QStringLiteral("antwortet nicht, Fehler %1: %2")
            .arg(e.number())
            .arg(e.description());
    } catch (const std::exception& e) {
        return QStringLiteral("antwortet nicht: %1").arg(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace

OfficeErstellungsInfo::OfficeErstellungsInfo(db::Database& database) : database_(database) {}

QString OfficeErstellungsInfo::Info(const QString& command, const QString& library) {
    return QStringLiteral("Befehl: ") + command + kLineBreak + QStringLiteral("Bibliothek: ") +
           library + kLineBreak +
           QStringLiteral("Programm: %1 %2.%3.%4")
               .arg(QLatin1String(version::kProgramName))
               .arg(version::kMajor)
               .arg(version::kMinor)
               .arg(version::kRevision) +
           kLineBreak + QStringLiteral("Bürodatenbank: ") + database_.target().describe() +
           kLineBreak + QStringLiteral("Zustand der Bürodatenbank: ") + databaseState(database_);
}

}  // namespace orv::office
