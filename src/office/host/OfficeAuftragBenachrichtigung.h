#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// Tells the office that an order's open services began or ended: one row in
// tAuftragBenachrichtigung per notice, with the order, the employee who caused it, the kind and
// the office database's time, for the office to pick up and remove once it has acted on it.
class OfficeAuftragBenachrichtigung final : public platform::AuftragBenachrichtigung {
public:
    explicit OfficeAuftragBenachrichtigung(db::Database& database);

    // The employee named by every following notice; 0 until set.
    void setMitarbeiter(std::int32_t mitarbeiterId) override { mitarbeiterId_ = mitarbeiterId; }
    void Auftrag(std::int32_t auftragId, std::int32_t art) override;

private:
    db::Database& database_;
    std::int32_t mitarbeiterId_ = 0;
};

}  // namespace orv::office
