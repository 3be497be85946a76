#include "Workload.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "session/CStoppUhren.h"
#include "session/EmployeeSwitch.h"

#include <algorithm>

namespace orv::load {
namespace {

constexpr int kMaxOpenOrders = 8;

const QString kIdleKey = QStringLiteral("p0");

}  // namespace

Workload::Workload(CStoppUhren& session, WorkloadDesk& desk, std::mt19937_64& random,
                   std::vector<std::int32_t> officeOrders)
    : session_(session), desk_(desk), random_(random), officeOrders_(std::move(officeOrders)) {}

int Workload::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

std::int32_t Workload::randomOrder() {
    return officeOrders_[static_cast<std::size_t>(
        uniform(0, static_cast<int>(officeOrders_.size()) - 1))];
}

std::int32_t Workload::idleSeconds() const {
    return session_.LeerlaufAuftrag().Sekunden();
}

std::vector<std::shared_ptr<CAuftrag>> Workload::openOrders() const {
    std::vector<std::shared_ptr<CAuftrag>> open;
    for (const std::shared_ptr<CAuftrag>& order : session_.Auftraege()) {
        if (order->Status() < AuftragStatus_Beendet) {
            open.push_back(order);
        }
    }
    return open;
}

std::vector<Workload::Entry> Workload::stoppedEntries(std::int32_t minSeconds) const {
    std::vector<Entry> entries;
    for (const std::shared_ptr<CAuftrag>& order : session_.Auftraege()) {
        if (order->AuftragId() < 1) {
            continue;
        }
        for (const std::shared_ptr<cLeistung>& entry : order->Leistungen()) {
            if (entry->Status() == AuftragStatus_Beendet && entry->Sekunden() >= minSeconds &&
                entry->Sekunden() > 0) {
                entries.push_back({order, entry});
            }
        }
    }
    return entries;
}

const Workload::Entry& Workload::pick(const std::vector<Entry>& entries) {
    return entries[static_cast<std::size_t>(uniform(0, static_cast<int>(entries.size()) - 1))];
}

// ---- the stopwatches ----------------------------------------------------------------------

void Workload::switchOrder(bool& created) {
    const auto open = openOrders();
    created =
        open.size() < 2 || (static_cast<int>(open.size()) < kMaxOpenOrders && uniform(1, 4) == 1);
    if (created) {
        newOrder();
    } else {
        switchTo(
            open[static_cast<std::size_t>(uniform(0, static_cast<int>(open.size()) - 1))]->Key());
    }
}

void Workload::switchTo(const QString& target) {
    QString key = target;
    stoppuhrWechseln(session_, key);
}

void Workload::newOrder() {
    QString key;
    stoppuhrWechseln(session_, key, true);
    // The order control assigns the office order the employee picks.
    session_.AktuellerAuftrag()->AuftragAendern(randomOrder());
}

bool Workload::stop() {
    return stoppuhrAnhalten(session_);
}

bool Workload::finish() {
    const auto open = openOrders();
    if (open.empty()) {
        return false;
    }
    std::shared_ptr<CAuftrag> order =
        open[static_cast<std::size_t>(uniform(0, static_cast<int>(open.size()) - 1))];
    if (session_.AktuellerAuftrag() != nullptr && uniform(1, 2) == 1) {
        order = session_.AktuellerAuftrag();
    }
    stoppuhrBeenden(session_, order->Key());
    return true;
}

void Workload::pause(std::int32_t seconds) {
    desk_.nextPause(seconds);
    session_.Pause();
}

// ---- entries ------------------------------------------------------------------------------

bool Workload::edit() {
    const auto entries = stoppedEntries(kMinEntry);
    if (entries.empty()) {
        return false;
    }
    const Entry& e = pick(entries);
    const std::int32_t seconds = e.entry->Sekunden();
    const std::int32_t idle = idleSeconds();
    std::int32_t answerSeconds = seconds;
    std::int32_t answerOrder = e.order->AuftragId();
    const int kind = uniform(1, 10);
    // The dialog takes no time above the idle time, and the idle time keeps its minute.
    const std::int32_t highest = std::min(idle, seconds + idle - kMinEntry);
    if (kind <= 6 && highest >= kMinEntry) {
        answerSeconds = uniform(kMinEntry, highest);
    } else if (kind <= 8 && seconds <= idle) {
        answerSeconds = 0;
    } else if (seconds <= idle) {
        answerOrder = randomOrder();
    } else {
        return false;
    }
    desk_.nextEdit(BearbeitungStati_Geaendert, answerSeconds, answerOrder);
    QString orderKey = e.order->Key();
    QString entryKey = e.entry->Key();
    session_.LeistungBearbeiten(orderKey, entryKey);
    return true;
}

bool Workload::rebookTime() {
    const auto entries = stoppedEntries(kMinEntry);
    if (entries.empty()) {
        return false;
    }
    const Entry& source = pick(entries);
    const Entry& target = pick(entries);
    const int kind = uniform(1, 10);
    if (kind <= 3) {
        // Idle time onto an entry; the idle time keeps its minute.
        const std::int32_t available = idleSeconds() - kMinEntry;
        if (available < 1) {
            return false;
        }
        desk_.nextRebooking(target.entry.get(), uniform(1, available));
        QString orderKey = kIdleKey;
        session_.LeistungUmbuchen(orderKey, QString());
        return true;
    }
    cLeistung* onto = kind <= 6 ? nullptr : target.entry.get();
    if (onto == source.entry.get()) {
        return false;
    }
    const std::int32_t seconds = source.entry->Sekunden();
    // All of it, or a part that leaves the entry its minute.
    const std::int32_t amount =
        uniform(1, 3) == 1 || seconds - kMinEntry < 1 ? seconds : uniform(1, seconds - kMinEntry);
    desk_.nextRebooking(onto, amount);
    QString orderKey = source.order->Key();
    session_.LeistungUmbuchen(orderKey, source.entry->Key());
    return true;
}

bool Workload::book(bool everything, bool summed) {
    auto entries = stoppedEntries(everything ? 0 : kMinEntry);
    if (entries.empty()) {
        return false;
    }
    if (!everything) {
        std::shuffle(entries.begin(), entries.end(), random_);
        entries.resize(
            std::min<std::size_t>(entries.size(), static_cast<std::size_t>(uniform(1, 4))));
    }
    for (const Entry& e : entries) {
        QString orderKey = e.order->Key();
        QString entryKey = e.entry->Key();
        if (session_.LeistungFreigeben(orderKey, entryKey) && released_) {
            released_(*e.order, *e.entry);
        }
    }
    if (summed) {
        session_.SammelBuchen();
    } else {
        session_.EinzelBuchen();
    }
    return true;
}

bool Workload::deleteEntry() {
    const auto entries = stoppedEntries(0);
    if (entries.empty()) {
        return false;
    }
    const Entry& e = pick(entries);
    QString orderKey = e.order->Key();
    QString entryKey = e.entry->Key();
    session_.LeistungLoeschen(orderKey, entryKey);
    session_.AuftragsSekundenNeuBerechnen();
    return true;
}

bool Workload::manualEntry() {
    const std::int32_t available = idleSeconds() - kMinEntry;
    if (available < kMinEntry) {
        return false;
    }
    desk_.nextEdit(BearbeitungStati_Geaendert, uniform(kMinEntry, available), randomOrder());
    QString orderKey;
    QString entryKey;
    std::int32_t seconds = 0;
    session_.LeistungErzeugen(orderKey, entryKey, seconds);
    return true;
}

}  // namespace orv::load
