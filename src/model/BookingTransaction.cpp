#include "model/BookingTransaction.h"

#include "model/cLeistung.h"

namespace orv {

void EntrySnapshots::add(cLeistung& entry) {
    Snapshot snapshot{&entry, entry.Status(), {}};
    for (const std::shared_ptr<CText>& line : entry.Texte()) {
        snapshot.textIds.emplace_back(line, line->TextId());
    }
    snapshots_.push_back(std::move(snapshot));
}

void EntrySnapshots::restore() const {
    for (const Snapshot& snapshot : snapshots_) {
        snapshot.entry->Status(snapshot.status);
        for (const auto& [line, id] : snapshot.textIds) {
            line->TextId(id);
        }
    }
}

}  // namespace orv
