#pragma once

#include "platform/host/PersonObjects.h"

#include <QString>

#include <cstdint>

namespace orv::db {
class Database;
}

namespace orv::office {

// An employee of the office, read from tMitarbeiter.
class OfficeMitarbeiter final : public platform::Mitarbeiter {
public:
    explicit OfficeMitarbeiter(db::Database& database);

    void setId(std::int32_t id) override;
    // False when no employee has that id; the number then stays 0.
    bool Load(bool withDetails) override;
    std::int32_t Nummer() const override { return nummer_; }
    void Close() override;

    // Read only by a load with details.
    const QString& Name() const { return name_; }

private:
    db::Database& database_;
    std::int32_t id_ = 0;
    std::int32_t nummer_ = 0;
    QString name_;
};

}  // namespace orv::office
