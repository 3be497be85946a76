#pragma once

#include "platform/host/PersonObjects.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The text a problem report carries when creating an object of the office product failed:
// what was to be created, from where, and the state of the office database the object works
// on, which is the usual reason such a creation fails here.
class OfficeErstellungsInfo final : public platform::ErstellungsInfo {
public:
    explicit OfficeErstellungsInfo(db::Database& database);

    // Never fails: a database that does not answer is part of the text.
    QString Info(const QString& command, const QString& library) override;

private:
    db::Database& database_;
};

}  // namespace orv::office
