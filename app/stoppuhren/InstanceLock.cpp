#include "stoppuhren/InstanceLock.h"

#include "persistence/Database.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <QLockFile>

namespace orv::stoppuhren {
namespace {

// The advisory-lock class of the stopwatches, so no other user of the server's advisory locks
// collides with them ("ORV" in ASCII).
constexpr std::int64_t kLockClass = 0x4F5256;

QString alreadyRunning(std::int32_t employeeId) {
    return QStringLiteral(
               "Die Stoppuhren von Mitarbeiter %1 laufen bereits, auf diesem oder einem anderen "
               "Arbeitsplatz. Ein zweites Fenster würde jede Sekunde doppelt zählen; bitte "
               "arbeiten Sie im geöffneten Fenster weiter.")
        .arg(employeeId);
}

}  // namespace

InstanceLock::InstanceLock(const db::DbTarget& target, std::int32_t employeeId)
    : target_(target), employeeId_(employeeId) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire(QString& error) {
    try {
        if (target_.backend == db::Backend::Postgres) {
            lockDatabase_ = std::make_unique<db::Database>(target_);
            const db::DbValue params[] = {db::DbValue(kLockClass),
                                          db::DbValue(std::int64_t{employeeId_})};
            auto cursor = lockDatabase_->connection()->query(
                "SELECT pg_try_advisory_lock(CAST($1 AS INTEGER), CAST($2 AS INTEGER))", params);
            if (cursor->next() && cursor->toBool(0)) {
                return true;
            }
            lockDatabase_.reset();
        } else {
            lockFile_ = std::make_unique<QLockFile>(
                QStringLiteral("%1.mitarbeiter-%2.lock").arg(target_.sqlitePath).arg(employeeId_));
            lockFile_->setStaleLockTime(0);  // stale only when its program is gone
            if (lockFile_->tryLock(0)) {
                return true;
            }
            if (lockFile_->error() != QLockFile::LockFailedError) {
                error = QStringLiteral(
                            "Die Sperrdatei neben der Datenbank %1 kann nicht angelegt "
                            "werden. Bitte prüfen Sie, ob der Ordner beschreibbar ist.")
                            .arg(target_.sqlitePath);
                return false;
            }
        }
    } catch (const OrvError& e) {
        error =
            QStringLiteral("Die Kanzleidatenbank ist nicht erreichbar: %1").arg(e.description());
        return false;
    }
    error = alreadyRunning(employeeId_);
    return false;
}

}  // namespace orv::stoppuhren
