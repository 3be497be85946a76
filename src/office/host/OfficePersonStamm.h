#pragma once

#include "platform/host/PersonObjects.h"

#include <QString>

#include <cstdint>

namespace orv::db {
class Database;
}

namespace orv::office {

// A client or the office itself, read from tPersonStamm. The office flag decides which of the
// two an id may name: a client's id asked as an office finds nothing, and the other way round.
class OfficePersonStamm final : public platform::PersonStamm {
public:
    explicit OfficePersonStamm(db::Database& database);

    void setId(std::int32_t id) override;
    void setKanzlei(bool kanzlei) override;
    // False when no person of that id and kind exists; the number then stays 0.
    bool Load(bool withDetails) override;
    std::int32_t Nummer() const override { return nummer_; }
    void Close() override;

    // Read only by a load with details.
    const QString& Kurzname() const { return kurzname_; }

private:
    db::Database& database_;
    std::int32_t id_ = 0;
    bool kanzlei_ = false;
    std::int32_t nummer_ = 0;
    QString kurzname_;
};

}  // namespace orv::office
