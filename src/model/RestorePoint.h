#pragma once

#include "model/CAuftrag.h"
#include "model/CText.h"
#include "model/cLeistung.h"
#include "persistence/OneTransaction.h"

#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orv {

class CStoppUhren;

// One step of the session that writes: its statements run in one transaction, and when it
// fails the database keeps none of them and the objects the step changed get back what they
// held before. Session and rows never disagree after a failure, and the step can simply be
// done again. The clock is not turned back: the stopwatch that ran before the step counts on
// from its last tick.
//
//     RestorePoint(session).keep(order).run([&] { ... });
class RestorePoint {
public:
    // Keeps which stopwatch runs and the productive total.
    explicit RestorePoint(CStoppUhren& session);
    RestorePoint(const RestorePoint&) = delete;
    RestorePoint& operator=(const RestorePoint&) = delete;
    ~RestorePoint();

    // The order's values and entries, and its current entry (the idle order's first one).
    RestorePoint& keep(CAuftrag& order);
    // The entry's values and its text lines.
    RestorePoint& keep(cLeistung& entry);
    // The session's orders and its released entries, for steps that add or remove orders.
    RestorePoint& keepOrders();

    template <typename Work>
    decltype(auto) run(Work&& work) {
        try {
            return db::inOneTransaction(database(), std::forward<Work>(work));
        } catch (...) {
            restore();
            throw;
        }
    }

    void restore() const;

private:
    db::Database& database() const;

    // The object itself, held alive when shared: a step may drop it from every collection.
    template <typename T>
    struct Held {
        explicit Held(T& object) : alive(object.weak_from_this().lock()), object(&object) {}
        std::shared_ptr<T> alive;
        T* object;
    };
    struct KeptOrder {
        Held<CAuftrag> order;
        OrderValues values;
    };
    struct KeptEntry {
        Held<cLeistung> entry;
        EntryValues values;
        std::vector<std::pair<std::shared_ptr<CText>, CText>> lines;
    };
    struct KeptOrders {
        KeyedCollection<CAuftrag> orders;
        std::optional<KeyedCollection<cLeistung>> released;
    };

    CStoppUhren& session_;
    std::shared_ptr<CAuftrag> current_;
    bool orderRuns_;
    std::int32_t productiveSeconds_;
    std::vector<KeptOrder> orders_;
    std::vector<KeptEntry> entries_;
    std::unique_ptr<KeptOrders> collections_;
    // Each object once: a step may book many entries of one order.
    std::unordered_set<const void*> kept_;
};

}  // namespace orv
