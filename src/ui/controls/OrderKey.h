#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// An office order's business key as the order control's fields hold it. Running and object
// number are the whole-number values of their fields: 0 for an empty field, -1 for text that is
// no number.
struct AuftragSchluessel {
    std::int32_t mandantId = 0;
    std::int32_t auftragArtNr = 0;
    std::int32_t angelegenheitNr = 0;
    std::int32_t angelegenheitId = 0;
    std::int32_t monat = 0;
    std::int32_t jahr = 0;
    std::int32_t lfdNr = 0;
    std::int32_t objektNr = 0;

    bool operator==(const AuftragSchluessel&) const = default;
};

// The whole-number value of a number field: 0 when empty, -1 unless it is digits only.
std::int32_t feldZahl(const QString& text);

// The facts of a matter the control relies on.
struct MatterFacts {
    bool mehrfachAnlage = false;
    std::int32_t kenner = 0;
};
MatterFacts matterFacts(platform::PlatformFactory& platform, std::int32_t angelegenheitId);

// The first order the office finds for the key, 0 when none; orders of billing kind 9 are never
// found. The key's running and object number 0 are no criterion.
struct GefundenerAuftrag {
    std::int32_t auftragId = 0;
    bool fakturiert = false;
};
GefundenerAuftrag findOrder(platform::PlatformFactory& platform, const AuftragSchluessel& key);

// Creates the order in the office; its id, or 0 when the office did not create it.
std::int32_t createOrder(platform::PlatformFactory& platform, const AuftragSchluessel& key,
                         std::int32_t fensterHandle);

// The orders that exist for the key's client, order kind, matter and period (and its object
// number, when one is given), by running number: "2 - Beratung Unternehmensnachfolge".
std::vector<QString> runningNumbers(db::Database& database, const AuftragSchluessel& key);

}  // namespace orv::ui
