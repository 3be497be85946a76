#pragma once

#include "platform/host/OfficeServices.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The office's figure of an order: the hours of its services not yet invoiced. Services carry
// no link to an invoice in this office database, so that is every hour booked on the order in
// tLeistung. A booking reads it before and after; a change from or to zero means the order now
// has open services, or no longer has any, and the office is notified.
class OfficeQeLeistung final : public platform::CQeLeistung {
public:
    explicit OfficeQeLeistung(db::Database& database);

    // 0 for an order without services, also for one the office does not know.
    db::Currency Kennzahl(std::int32_t auftragId) override;

private:
    db::Database& database_;
};

}  // namespace orv::office
