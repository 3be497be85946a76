#pragma once

#include "platform/host/OrderObjects.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// The office's order service without windows. Action 4 creates an order from its key:
// parameter 1 client id, 5 year, 6 month, 7 running number, 8 matter id, 12 object number; the
// new order's id comes back in parameter 3. A running number or object number of 0 becomes 1,
// as the order control compares them. An order with that key that exists already is answered
// instead of creating a second one. Action 10, the order display, is a window the office
// shows; without one it reports nothing done. Any other action is not done either.
class OfficeOrderService final : public platform::OrderService {
public:
    static constexpr std::int32_t kUpperBound = 12;
    static constexpr std::size_t kMandant = 1;
    static constexpr std::size_t kNeuerAuftrag = 3;
    static constexpr std::size_t kJahr = 5;
    static constexpr std::size_t kMonat = 6;
    static constexpr std::size_t kLfdNr = 7;
    static constexpr std::size_t kAngelegenheit = 8;
    static constexpr std::size_t kObjektNr = 12;

    explicit OfficeOrderService(db::Database& database);

    void Begin(std::int32_t& actionCode) override { aktion_ = actionCode; }
    std::int32_t ParameterUBound(std::int32_t& actionCode) override;
    // An incomplete or invalid key creates nothing: result 0 and an OrvError with a German
    // message naming the value.
    void Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) override;
    void End() override { aktion_ = 0; }

private:
    db::Database& database_;
    std::int32_t aktion_ = 0;
};

}  // namespace orv::office
