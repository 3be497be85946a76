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
    workload_ = std::make_unique<Workload>(
        *session_, platform_, random_,
        std::vector<std::int32_t>(office_.orders.begin(), office_.orders.end()));
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
                command("Pause", [&] { workload_->pause(pauseLength); });
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
    workload_.reset();
    session_.reset();
}

void SimulatedEmployee::act() {
    Workload& w = *workload_;
    const int roll = uniform(1, 100);
    if (roll <= 45) {
        command("Starten eines Auftrags", [&] {
            bool created = false;
            timedSwitch([&] {
                w.switchOrder(created);
                return !created;
            });
            result_.newOrders += created ? 1 : 0;
        });
        return;
    }
    if (roll <= 53) {
        command("Anhalten", [&] { timedSwitch([&] { return w.stop(); }); });
        return;
    }
    if (roll > 81 && roll <= 91) {
        book(false);
        return;
    }
    struct Command {
        int upTo;
        const char* name;
        bool (Workload::*run)();
        std::int64_t EmployeeResult::*count;
    };
    static constexpr Command kCommands[] = {
        {61, "Beenden eines Auftrags", &Workload::finish, &EmployeeResult::finished},
        {71, "Leistung bearbeiten", &Workload::edit, &EmployeeResult::edits},
        {81, "Leistung umbuchen", &Workload::rebookTime, &EmployeeResult::rebookings},
        {95, "Leistung löschen", &Workload::deleteEntry, &EmployeeResult::deletions},
        {100, "Leistung manuell erfassen", &Workload::manualEntry, &EmployeeResult::manualEntries},
    };
    for (const Command& c : kCommands) {
        if (roll <= c.upTo) {
            command(c.name, [&] { result_.*c.count += (w.*c.run)() ? 1 : 0; });
            return;
        }
    }
}

void SimulatedEmployee::timedSwitch(const std::function<bool()>& body) {
    const auto t0 = std::chrono::steady_clock::now();
    if (body()) {
        const auto t1 = std::chrono::steady_clock::now();
        result_.switchMicros.push_back(std::chrono::duration<float, std::micro>(t1 - t0).count());
        ++result_.switches;
    }
}

void SimulatedEmployee::book(bool everything) {
    const bool summed = uniform(1, 2) == 1;
    command(summed ? "Sammelbuchung" : "Einzelbuchung",
            [&] { result_.bookings += workload_->book(everything, summed) ? 1 : 0; });
}

// ---- the evening ------------------------------------------------------------------------------

void SimulatedEmployee::closeDay() {
    command("Tagesabschluss", [&] {
        for (const std::shared_ptr<CAuftrag>& order : workload_->openOrders()) {
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
