#include "model/RestorePoint.h"

#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"

#include <algorithm>

namespace orv {

template <typename T>
void RestorePoint::Collections<T>::mark(KeyedCollection<T>& collection,
                                        std::shared_ptr<void> owner) {
    const std::size_t count = static_cast<std::size_t>(collection.Count());
    marks_.try_emplace(&collection, Mark{std::move(owner), count,
                                         count == 0 ? QString() : collection.keyAt(count - 1)});
}

template <typename T>
void RestorePoint::Collections<T>::member(KeyedCollection<T>& collection,
                                          std::shared_ptr<void> owner,
                                          const std::shared_ptr<T>& item, const QString& key) {
    const std::optional<std::size_t> position = collection.positionOf(key);
    if (item == nullptr || !position.has_value()) {
        return;
    }
    mark(collection, std::move(owner));
    members_.push_back({&collection, item, key, *position});
}

template <typename T>
template <typename Valid>
void RestorePoint::Collections<T>::restore(Valid&& valid) const {
    for (const auto& [collection, mark] : marks_) {
        if (!valid(collection)) {
            continue;
        }
        std::vector<const Member*> missing;
        for (const Member& member : members_) {
            if (member.collection == collection && !collection->contains(member.key)) {
                missing.push_back(&member);
            }
        }
        std::sort(missing.begin(), missing.end(),
                  [](const Member* a, const Member* b) { return a->position < b->position; });
        // What came after the last item is new; when that item went itself, only kept items
        // were removed, so the items left of before are the count without them.
        std::size_t before = 0;
        if (mark.count > 0) {
            const std::optional<std::size_t> last = collection->positionOf(mark.lastKey);
            before = last.has_value() ? *last + 1 : mark.count - missing.size();
        }
        collection->truncate(before);
        for (const Member* member : missing) {
            collection->Insert(member->position, member->item, member->key);
        }
    }
}

RestorePoint::RestorePoint(CStoppUhren& session)
    : session_(session),
      current_(session.aktuellerAuftrag_),
      orderRuns_(session.auftragLaeuft_),
      productiveSeconds_(session.auftragsSekunden_) {
    orderCollections_.mark(session.auftraege_, nullptr);
}

RestorePoint::~RestorePoint() = default;

db::Database& RestorePoint::database() const {
    return session_.platform().officeDatabase();
}

RestorePoint& RestorePoint::keep(CAuftrag& order) {
    if (!kept_.insert(&order).second) {
        return *this;
    }
    orders_.push_back({Held<CAuftrag>(order), static_cast<const OrderValues&>(order)});
    const std::shared_ptr<CAuftrag>& alive = orders_.back().order.alive;
    orderCollections_.member(session_.auftraege_, nullptr, alive, order.Key());
    entryCollections_.mark(order.leistungen_, alive);
    std::shared_ptr<cLeistung> entry = order.leistung_;
    if (entry == nullptr && !order.leistungen_.empty()) {
        entry = order.leistungen_.at(1);
    }
    if (entry != nullptr) {
        keep(*entry);
    }
    return *this;
}

RestorePoint& RestorePoint::keep(cLeistung& entry) {
    if (!kept_.insert(&entry).second) {
        return *this;
    }
    KeptEntry kept{Held<cLeistung>(entry), static_cast<const EntryValues&>(entry), {}};
    // The lines are shared objects that a step changes in place (booking gives them the ids of
    // service texts): their contents are kept, not only the list.
    for (const std::shared_ptr<CText>& line : entry.texte_) {
        kept.lines.emplace_back(line, *line);
    }
    const std::shared_ptr<cLeistung> alive = kept.entry.alive;
    entries_.push_back(std::move(kept));
    // A booked or deleted entry is in no collection any more. It may still be the current entry
    // of the order it left, and the order it was moved to may be gone.
    if (entry.status_ >= AuftragStatus_Geloescht) {
        return *this;
    }
    if (entry.auftrag_ != nullptr) {
        entryCollections_.member(entry.auftrag_->leistungen_,
                                 entry.auftrag_->weak_from_this().lock(), alive, entry.Key());
    }
    if (session_.freigegeben_ != nullptr) {
        released_ = session_.freigegeben_.get();
        entryCollections_.member(*released_, nullptr, alive, entry.Key());
    }
    return *this;
}

void RestorePoint::restore() const {
    for (const KeptEntry& kept : entries_) {
        static_cast<EntryValues&>(*kept.entry.object) = kept.values;
        for (const auto& [line, contents] : kept.lines) {
            *line = contents;
        }
    }
    for (const KeptOrder& kept : orders_) {
        static_cast<OrderValues&>(*kept.order.object) = kept.values;
    }
    orderCollections_.restore([](const KeyedCollection<CAuftrag>*) { return true; });
    // The released entries are a collection the session may drop: only the one kept is restored.
    entryCollections_.restore([&](const KeyedCollection<cLeistung>* collection) {
        return collection != released_ || session_.freigegeben_.get() == released_;
    });
    session_.aktuellerAuftrag_ = current_;
    session_.auftragLaeuft_ = orderRuns_;
    session_.auftragsSekunden_ = productiveSeconds_;
}

}  // namespace orv
