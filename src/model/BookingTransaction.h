#pragma once

#include "persistence/OneTransaction.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace orv {

class CText;
class cLeistung;

// What booking changes on entries before the database has kept it: their status and the ids of
// their text lines, which then name service texts.
class EntrySnapshots {
public:
    EntrySnapshots() = default;
    explicit EntrySnapshots(cLeistung& entry) { add(entry); }

    void add(cLeistung& entry);
    void restore() const;

private:
    struct Snapshot {
        cLeistung* entry;
        std::int32_t status;
        std::vector<std::pair<std::shared_ptr<CText>, std::int32_t>> textIds;
    };
    std::vector<Snapshot> snapshots_;
};

// Runs a booking in one transaction. When it is rolled back, its entries get back what it
// changed on them: they stay provisional, as their rows do, and save their own text lines, not
// lines of the same ids elsewhere.
template <typename Work>
decltype(auto) inOneBooking(db::Database& database, const EntrySnapshots& before, Work&& work) {
    try {
        return db::inOneTransaction(database, std::forward<Work>(work));
    } catch (...) {
        before.restore();
        throw;
    }
}

}  // namespace orv
