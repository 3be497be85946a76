#pragma once

#include "platform/host/OrderObjects.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// An order of the office with its client, order kind and matter, read from tAuftrag. The values
// are those the time-recording view shows for the order, so an order looks the same whether the
// component loads it afresh or reads its stored rows.
class OfficeOrder final : public platform::OfficeOrder {
public:
    explicit OfficeOrder(db::Database& database);

    // False when no order has that id; the values are then zero and empty.
    bool Load(std::int32_t auftragId) override;
    const Values& values() const override { return values_; }
    void Close() override;

private:
    db::Database& database_;
    Values values_;
};

}  // namespace orv::office
