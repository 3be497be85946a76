#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The employee's attendance in tMitarbeiterAbwesenheit. Begin and end are stamped by the office
// database's clock, as the stopwatch's pause records are, so an absence and the pause it stands
// for carry the same times whichever workstation's clock is off.
class OfficeAnwesenheit final : public platform::AnwesenheitsObjekt {
public:
    explicit OfficeAnwesenheit(db::Database& database);

    // A begin opens an absence with the text; an end closes every open absence of that employee
    // number and kind, and its text is not kept (the absence was described when it began). An
    // end without an open absence writes nothing: there is no begin to pair it with, and making
    // one up would record an absence nobody took.
    void Abwesenheit(std::int32_t art, std::int32_t mitarbeiterNr, const QString& text,
                     bool beginn) override;

private:
    db::Database& database_;
};

}  // namespace orv::office
