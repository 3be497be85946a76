#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// Which kind of property assessment a matter code belongs to, read from the office's list
// tGgwKennerArt at every question, so a change by the office takes effect at the next one.
// A code that is not a whole number, or that the list does not name, belongs to none.
class OfficeQeGgwBasis final : public platform::CQeGgwBasis {
public:
    explicit OfficeQeGgwBasis(db::Database& database);

    bool IsVuV(const QString& kenner) override;
    bool IsBewertung(const QString& kenner) override;
    bool IsSchenkung(const QString& kenner) override;
    bool IsErbschaft(const QString& kenner) override;
    bool IsGrundsteuer(const QString& kenner) override;

private:
    bool hasKind(const QString& kenner, int kind);

    db::Database& database_;
};

}  // namespace orv::office
