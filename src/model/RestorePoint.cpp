#include "model/RestorePoint.h"

#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"

namespace orv {

RestorePoint::RestorePoint(CStoppUhren& session)
    : session_(session),
      current_(session.aktuellerAuftrag_),
      orderRuns_(session.auftragLaeuft_),
      productiveSeconds_(session.auftragsSekunden_) {}

RestorePoint::~RestorePoint() = default;

db::Database& RestorePoint::database() const {
    return session_.platform().officeDatabase();
}

RestorePoint& RestorePoint::keep(CAuftrag& order) {
    if (!kept_.insert(&order).second) {
        return *this;
    }
    orders_.push_back({Held<CAuftrag>(order), static_cast<const OrderValues&>(order)});
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
    entries_.push_back(std::move(kept));
    return *this;
}

RestorePoint& RestorePoint::keepOrders() {
    collections_ = std::make_unique<KeptOrders>();
    collections_->orders = session_.auftraege_;
    if (session_.freigegeben_ != nullptr) {
        collections_->released = *session_.freigegeben_;
    }
    return *this;
}

void RestorePoint::restore() const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        static_cast<EntryValues&>(*it->entry.object) = it->values;
        for (const auto& [line, contents] : it->lines) {
            *line = contents;
        }
    }
    for (auto it = orders_.rbegin(); it != orders_.rend(); ++it) {
        static_cast<OrderValues&>(*it->order.object) = it->values;
    }
    if (collections_ != nullptr) {
        session_.auftraege_ = collections_->orders;
        if (collections_->released.has_value()) {
            session_.freigegeben_ =
                std::make_unique<KeyedCollection<cLeistung>>(*collections_->released);
        } else {
            session_.freigegeben_.reset();
        }
    }
    session_.aktuellerAuftrag_ = current_;
    session_.auftragLaeuft_ = orderRuns_;
    session_.auftragsSekunden_ = productiveSeconds_;
}

}  // namespace orv
