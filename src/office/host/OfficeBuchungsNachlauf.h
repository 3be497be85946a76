#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The follow-up of a booking: marks the order in tAuftragNachlauf as having new services, with
// the time of the latest booking and how many bookings came since the office last took the mark
// away (when it has looked at the order's new services, for instance for an invoice). One row
// per order, so an office's list of orders with new services stays as short as the orders.
class OfficeBuchungsNachlauf final : public platform::BuchungsNachlauf {
public:
    explicit OfficeBuchungsNachlauf(db::Database& database);

    // An order the office does not know gets no mark. Neither the order nor the truth value is
    // changed: this office needs nothing further from the booking.
    void AuftragNachlauf(std::int32_t& auftragId, bool& flag) override;

private:
    db::Database& database_;
};

}  // namespace orv::office
