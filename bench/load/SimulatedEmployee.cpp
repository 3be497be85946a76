#include "SimulatedEmployee.h"

#include "LoadOffice.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "persistence/Database.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/OrvError.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace orv::load {
namespace {

// Days lie this far apart on the run's time line: from 08:00, when the first employee may
// come, to 17:30, when the last one leaves.
constexpr qint64 kDaySpan = 9 * 3600 + 1800;
// Commands come at least a minute apart, a few minutes on average.
constexpr int kMinGap = 60;
constexpr double kMeanGap = 300;
// Entries the employee keeps, moves or creates hold at least a minute, and the idle time keeps
// a minute too: a service below 36 seconds is booked as the minimum of 0,01 hours, which the
// check can only bound.
constexpr std::int32_t kMinEntry = 60;
constexpr int kMaxOpenOrders = 8;

const QString kIdleKey = QStringLiteral("p0");

}  // namespace

QDate firstWorkingDay() {
    return QDate(2026, 3, 16);
}

double timelineSeconds(const QDateTime& time) {
    const QDate first = firstWorkingDay();
    const qint64 day = first.daysTo(time.date());
    const QDateTime morning(time.date(), QTime(8, 0));
    return static_cast<double>(day * kDaySpan + morning.secsTo(time));
}

SimulatedEmployee::SimulatedEmployee(db::Database& database, const LoadOffice& office,
                                     const RunSettings& settings, std::int32_t employee,
                                     const Pacer& pacer)
    : database_(database),
      office_(office),
      settings_(settings),
      pacer_(pacer),
      platform_(database, office.idleBookingOrder),
      random_(settings.seed * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(employee)) {
    result_.employee = employee;
    platform_.setPauseHandler([this](std::int32_t seconds) {
        platform_.simClock().advance(seconds);
        pausedSeconds_ += seconds;
        pace();
    });
}

SimulatedEmployee::~SimulatedEmployee() = default;

int SimulatedEmployee::uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

std::int32_t SimulatedEmployee::randomOrder() {
    return office_
        .orders[static_cast<std::size_t>(uniform(0, static_cast<int>(office_.orders.size()) - 1))];
}

void SimulatedEmployee::run() {
    int day = 0;
    for (QDate date = firstWorkingDay(); day < settings_.days; date = date.addDays(1)) {
        if (date.dayOfWeek() <= 5) {
            runDay(static_cast<int>(firstWorkingDay().daysTo(date)));
            ++day;
        }
    }
    database_.releaseThreadConnection();
}

void SimulatedEmployee::pace() {
    result_.maxLagSeconds = std::max(result_.maxLagSeconds,
                                     pacer_.waitFor(timelineSeconds(platform_.simClock().now())));
}

void SimulatedEmployee::advanceTo(const QDateTime& time) {
    SimClock& clock = platform_.simClock();
    while (clock.now().secsTo(time) > settings_.takt) {
        clock.advance(settings_.takt);
        pace();
        session_->TimerTick();
        ++result_.ticks;
    }
    // The command comes in the second of a tick, as with the office's one-second timer.
    clock.set(time);
    pace();
    session_->TimerTick();
    ++result_.ticks;
    noteMessages("Takt");
}

void SimulatedEmployee::runDay(int day) {
    const QDate date = firstWorkingDay().addDays(day);
    const QDateTime start = QDateTime(date, QTime(8, 0)).addSecs(uniform(0, 1800));
    const QDateTime end = QDateTime(date, QTime(16, 30)).addSecs(uniform(0, 3600));
    const QDateTime pauseAt = QDateTime(date, QTime(12, 0)).addSecs(uniform(0, 1800));
    const int pauseLength = uniform(1800, 3600);

    platform_.simClock().set(start);
    pace();
    pausedSeconds_ = 0;
    session_ = std::make_unique<CStoppUhren>(platform_);
    platform_.setSession(session_.get());
    std::int32_t employee = result_.employee;
    const bool started = session_->Starten(employee);
    noteMessages("Starten");
    if (!started) {
        result_.problems.append(QStringLiteral("%1: Starten schlug fehl").arg(date.toString()));
    } else {
        bool paused = false;
        for (;;) {
            const double gap = std::exponential_distribution<double>(1.0 / kMeanGap)(random_);
            const QDateTime next = platform_.simClock().now().addSecs(
                kMinGap + static_cast<qint64>(std::min(gap, 4 * kMeanGap)));
            if (!paused && next >= pauseAt) {
                advanceTo(pauseAt);
                platform_.nextPause(pauseLength);
                command("Pause", [&] { session_->Pause(); });
                ++result_.pauses;
                paused = true;
                continue;
            }
            if (next.addSecs(kMinGap) >= end) {
                break;
            }
            advanceTo(next);
            act();
        }
        advanceTo(std::max(end, platform_.simClock().now()));
        closeDay();
        result_.expectedSeconds += start.secsTo(platform_.simClock().now()) - pausedSeconds_;
    }
    platform_.setSession(nullptr);
    session_.reset();
}

void SimulatedEmployee::act() {
    const int roll = uniform(1, 100);
    if (roll <= 45) {
        const auto open = openOrders();
        const bool create = open.size() < 2 ||
                            (static_cast<int>(open.size()) < kMaxOpenOrders && uniform(1, 4) == 1);
        if (create) {
            newOrder();
        } else {
            switchTo(open[static_cast<std::size_t>(uniform(0, static_cast<int>(open.size()) - 1))]
                         ->Key());
        }
    } else if (roll <= 53) {
        stop();
    } else if (roll <= 61) {
        finish();
    } else if (roll <= 71) {
        edit();
    } else if (roll <= 81) {
        rebookTime();
    } else if (roll <= 91) {
        book(false);
    } else if (roll <= 95) {
        deleteEntry();
    } else {
        manualEntry();
    }
}

// ---- the stopwatches, as the main window switches them ----------------------------------------

void SimulatedEmployee::switchTo(const QString& target) {
    command("Starten eines Auftrags", [&] {
        const auto t0 = std::chrono::steady_clock::now();
        session_->ZeitzaehlungAktiv(false);
        bool beenden = false;
        session_->AuftragAnhalten(beenden);
        QString key = target;
        bool neu = false;
        session_->AuftragStarten(key, neu);
        session_->ZeitzaehlungAktiv(true);
        const auto t1 = std::chrono::steady_clock::now();
        result_.switchMicros.push_back(std::chrono::duration<float, std::micro>(t1 - t0).count());
        ++result_.switches;
    });
}

void SimulatedEmployee::newOrder() {
    command("Neuer Auftrag", [&] {
        session_->ZeitzaehlungAktiv(false);
        bool beenden = false;
        session_->AuftragAnhalten(beenden);
        QString key;
        bool neu = true;
        session_->AuftragStarten(key, neu);
        session_->ZeitzaehlungAktiv(true);
        // The order control assigns the office order the employee picks.
        session_->AktuellerAuftrag()->AuftragAendern(randomOrder());
        ++result_.newOrders;
    });
}

void SimulatedEmployee::stop() {
    if (!session_->AuftragLaeuft()) {
        return;
    }
    command("Anhalten", [&] {
        const auto t0 = std::chrono::steady_clock::now();
        session_->ZeitzaehlungAktiv(false);
        bool beenden = false;
        session_->AuftragAnhalten(beenden);
        QString key = kIdleKey;
        bool neu = false;
        session_->AuftragStarten(key, neu);
        const auto t1 = std::chrono::steady_clock::now();
        result_.switchMicros.push_back(std::chrono::duration<float, std::micro>(t1 - t0).count());
        ++result_.switches;
    });
}

void SimulatedEmployee::finish() {
    const auto open = openOrders();
    if (open.empty()) {
        return;
    }
    std::shared_ptr<CAuftrag> order =
        open[static_cast<std::size_t>(uniform(0, static_cast<int>(open.size()) - 1))];
    if (session_->AktuellerAuftrag() != nullptr && uniform(1, 2) == 1) {
        order = session_->AktuellerAuftrag();
    }
    command("Beenden eines Auftrags", [&] {
        QString key = order->Key();
        session_->AuftragBeenden(key);
        ++result_.finished;
    });
}

// ---- entries ----------------------------------------------------------------------------------

std::vector<std::shared_ptr<CAuftrag>> SimulatedEmployee::openOrders() const {
    std::vector<std::shared_ptr<CAuftrag>> open;
    for (const std::shared_ptr<CAuftrag>& order : session_->Auftraege()) {
        if (order->Status() < AuftragStatus_Beendet) {
            open.push_back(order);
        }
    }
    return open;
}

std::vector<SimulatedEmployee::Entry> SimulatedEmployee::stoppedEntries(
    std::int32_t minSeconds) const {
    std::vector<Entry> entries;
    for (const std::shared_ptr<CAuftrag>& order : session_->Auftraege()) {
        for (const std::shared_ptr<cLeistung>& entry : order->Leistungen()) {
            if (entry->Status() == AuftragStatus_Beendet && entry->Sekunden() >= minSeconds) {
                entries.push_back({order, entry});
            }
        }
    }
    return entries;
}

std::int32_t SimulatedEmployee::idleSeconds() const {
    return session_->LeerlaufAuftrag().Sekunden();
}

void SimulatedEmployee::edit() {
    const auto entries = stoppedEntries(kMinEntry);
    if (entries.empty()) {
        return;
    }
    const Entry& e =
        entries[static_cast<std::size_t>(uniform(0, static_cast<int>(entries.size()) - 1))];
    const std::int32_t seconds = e.entry->Sekunden();
    const std::int32_t idle = idleSeconds();
    EditAnswer answer{BearbeitungStati_Geaendert, seconds, e.order->AuftragId()};
    const int kind = uniform(1, 10);
    // The dialog takes no time above the idle time, and the idle time keeps its minute.
    const std::int32_t highest = std::min(idle, seconds + idle - kMinEntry);
    if (kind <= 6 && highest >= kMinEntry) {
        answer.seconds = uniform(kMinEntry, highest);
    } else if (kind <= 8 && seconds <= idle) {
        answer.seconds = 0;
    } else if (seconds <= idle) {
        answer.auftragId = randomOrder();
    } else {
        return;
    }
    platform_.nextEdit(answer);
    command("Leistung bearbeiten", [&] {
        QString orderKey = e.order->Key();
        QString entryKey = e.entry->Key();
        session_->LeistungBearbeiten(orderKey, entryKey);
        ++result_.edits;
    });
}

void SimulatedEmployee::rebookTime() {
    const auto entries = stoppedEntries(kMinEntry);
    if (entries.empty()) {
        return;
    }
    const Entry& source =
        entries[static_cast<std::size_t>(uniform(0, static_cast<int>(entries.size()) - 1))];
    const Entry& target =
        entries[static_cast<std::size_t>(uniform(0, static_cast<int>(entries.size()) - 1))];
    const int kind = uniform(1, 10);
    if (kind <= 3) {
        // Idle time onto an entry; the idle time keeps its minute.
        const std::int32_t available = idleSeconds() - kMinEntry;
        if (available < 1) {
            return;
        }
        platform_.nextRebooking({target.entry.get(), uniform(1, available)});
        command("Leerlauf umbuchen", [&] {
            QString orderKey = kIdleKey;
            session_->LeistungUmbuchen(orderKey, QString());
            ++result_.rebookings;
        });
        return;
    }
    cLeistung* onto = kind <= 6 ? nullptr : target.entry.get();
    if (onto == source.entry.get()) {
        return;
    }
    const std::int32_t seconds = source.entry->Sekunden();
    // All of it, or a part that leaves the entry its minute.
    const std::int32_t amount =
        uniform(1, 3) == 1 || seconds - kMinEntry < 1 ? seconds : uniform(1, seconds - kMinEntry);
    platform_.nextRebooking({onto, amount});
    command("Leistung umbuchen", [&] {
        QString orderKey = source.order->Key();
        session_->LeistungUmbuchen(orderKey, source.entry->Key());
        ++result_.rebookings;
    });
}

void SimulatedEmployee::book(bool everything) {
    auto entries = stoppedEntries(everything ? 0 : kMinEntry);
    if (entries.empty()) {
        return;
    }
    if (!everything) {
        std::shuffle(entries.begin(), entries.end(), random_);
        entries.resize(
            std::min<std::size_t>(entries.size(), static_cast<std::size_t>(uniform(1, 4))));
    }
    const bool summed = uniform(1, 2) == 1;
    command(summed ? "Sammelbuchung" : "Einzelbuchung", [&] {
        for (const Entry& e : entries) {
            QString orderKey = e.order->Key();
            QString entryKey = e.entry->Key();
            session_->LeistungFreigeben(orderKey, entryKey);
        }
        if (summed) {
            session_->SammelBuchen();
        } else {
            session_->EinzelBuchen();
        }
        ++result_.bookings;
    });
}

void SimulatedEmployee::deleteEntry() {
    const auto entries = stoppedEntries(0);
    if (entries.empty()) {
        return;
    }
    const Entry& e =
        entries[static_cast<std::size_t>(uniform(0, static_cast<int>(entries.size()) - 1))];
    command("Leistung löschen", [&] {
        QString orderKey = e.order->Key();
        QString entryKey = e.entry->Key();
        session_->LeistungLoeschen(orderKey, entryKey);
        session_->AuftragsSekundenNeuBerechnen();
        ++result_.deletions;
    });
}

void SimulatedEmployee::manualEntry() {
    const std::int32_t available = idleSeconds() - kMinEntry;
    if (available < kMinEntry) {
        return;
    }
    platform_.nextEdit({BearbeitungStati_Geaendert, uniform(kMinEntry, available), randomOrder()});
    command("Leistung manuell erfassen", [&] {
        QString orderKey;
        QString entryKey;
        std::int32_t seconds = 0;
        session_->LeistungErzeugen(orderKey, entryKey, seconds);
        ++result_.manualEntries;
    });
}

// ---- the evening ------------------------------------------------------------------------------

void SimulatedEmployee::closeDay() {
    command("Tagesabschluss", [&] {
        for (const std::shared_ptr<CAuftrag>& order : openOrders()) {
            QString key = order->Key();
            session_->AuftragBeenden(key);
        }
        session_->LeistungenStatusKorrigieren();
    });
    book(true);
    const bool ended = session_->Beenden();
    noteMessages("Beenden");
    if (ended) {
        ++result_.daysClosed;
    } else {
        result_.problems.append(QStringLiteral("%1: Beenden endete die Sitzung nicht")
                                    .arg(platform_.simClock().now().date().toString()));
    }
}

void SimulatedEmployee::command(const char* name, const std::function<void()>& body) {
    try {
        body();
    } catch (...) {
        OrvError error = toOrvError(std::current_exception());
        result_.problems.append(
            QStringLiteral("%1 %2: Fehler %3: %4 (%5)")
                .arg(platform_.simClock().now().toString(Qt::ISODate), QLatin1String(name))
                .arg(error.number())
                .arg(error.description(), error.source()));
    }
    noteMessages(name);
}

void SimulatedEmployee::noteMessages(const char* name) {
    for (const QString& message : platform_.takeMessages()) {
        result_.problems.append(QStringLiteral("%1 %2: Meldung %3")
                                    .arg(platform_.simClock().now().toString(Qt::ISODate),
                                         QLatin1String(name), message));
    }
}

}  // namespace orv::load
