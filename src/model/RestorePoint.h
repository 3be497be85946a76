#pragma once

#include "model/CAuftrag.h"
#include "model/CText.h"
#include "model/cLeistung.h"
#include "persistence/OneTransaction.h"

#include <cstddef>
#include <memory>
#include <unordered_map>
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
//
// Keeping costs the same for an order of three entries as for one of thousands: collections are
// not copied. A step only appends new orders and entries, and removes kept ones; so a collection
// returns to its items by dropping what came after its last item and putting kept items back
// where they were.
class RestorePoint {
public:
    // Keeps which stopwatch runs, the productive total and the session's orders.
    explicit RestorePoint(CStoppUhren& session);
    RestorePoint(const RestorePoint&) = delete;
    RestorePoint& operator=(const RestorePoint&) = delete;
    ~RestorePoint();

    // The order's values, its place among the session's orders, its entries, and its current
    // entry (the idle order's first one).
    RestorePoint& keep(CAuftrag& order);
    // The entry's values, its text lines, and its places in its order and among the released
    // entries.
    RestorePoint& keep(cLeistung& entry);

    // A step the database gave up to break a deadlock is done again from the restored objects.
    template <typename Work>
    decltype(auto) run(Work&& work) {
        return db::inOneTransactionRetrying(database(), std::forward<Work>(work),
                                            [this] { restore(); });
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

    // What a collection held: its length and last key, and where kept items stood in it.
    template <typename T>
    class Collections {
    public:
        void mark(KeyedCollection<T>& collection, std::shared_ptr<void> owner);
        void member(KeyedCollection<T>& collection, std::shared_ptr<void> owner,
                    const std::shared_ptr<T>& item, const QString& key);
        // Collections for which valid() says no are gone or replaced; they are left alone.
        template <typename Valid>
        void restore(Valid&& valid) const;

    private:
        struct Mark {
            std::shared_ptr<void> owner;  // keeps an order alive whose entries are marked
            std::size_t count = 0;
            QString lastKey;
        };
        struct Member {
            KeyedCollection<T>* collection;
            std::shared_ptr<T> item;
            QString key;
            std::size_t position;
        };
        std::unordered_map<KeyedCollection<T>*, Mark> marks_;
        std::vector<Member> members_;
    };

    CStoppUhren& session_;
    std::shared_ptr<CAuftrag> current_;
    bool orderRuns_;
    std::int32_t productiveSeconds_;
    std::vector<KeptOrder> orders_;
    std::vector<KeptEntry> entries_;
    Collections<CAuftrag> orderCollections_;
    Collections<cLeistung> entryCollections_;
    KeyedCollection<cLeistung>* released_ = nullptr;
    // Each object once: a step may book many entries of one order.
    std::unordered_set<const void*> kept_;
};

}  // namespace orv
