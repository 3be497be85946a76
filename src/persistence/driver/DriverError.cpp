#include "persistence/driver/DriverError.h"

#include "session/diagnostics/OrvError.h"

namespace orv::db {

[[noreturn]] void throwDriverError(std::string_view backendName, std::string_view message,
                                   std::string_view sql, bool retryable) {
    QString description =
        QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())).trimmed();
    if (!sql.empty()) {
        description += QStringLiteral("\r\nSQL: ") +
                       QString::fromUtf8(sql.data(), static_cast<qsizetype>(sql.size()));
    }
    OrvError error(
        err::kDatabase,
        QString::fromLatin1(backendName.data(), static_cast<qsizetype>(backendName.size())),
        description);
    error.setRetryable(retryable);
    throw error;
}

}  // namespace orv::db
