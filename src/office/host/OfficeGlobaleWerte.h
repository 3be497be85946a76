#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The office's global truth values, read from tGlobaleWerte each time they are asked for, so a
// change by the office takes effect at the next question.
class OfficeGlobaleWerte final : public platform::GlobaleWerte {
public:
    explicit OfficeGlobaleWerte(db::Database& database);

    // A number the office never set is false, as the column's default: a switch nobody turned on
    // is off.
    bool Wert(std::int32_t number) override;

private:
    db::Database& database_;
};

}  // namespace orv::office
