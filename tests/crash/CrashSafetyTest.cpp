// Sessions killed with SIGKILL at random moments, also between two statements of a save, a
// booking or a pause, and started again on the same database: after every kill the database
// must hold every entry under its order, no entry both booked and still provisional, orders
// whose seconds are their entries', login records that never overlap, and at most the running
// stopwatch's unsaved seconds less than the session had counted; the start after it asks no
// question and adds nothing.
#include "CrashLog.h"
#include "TestDatabases.h"

#include "office/demo/DemoData.h"
#include "persistence/DbService.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <utility>

extern char** environ;

namespace orv::test::crash {
namespace {

constexpr std::int32_t kEmployee = office::demo::kEmployeeWithRights;
constexpr int kStepsPerRun = 3000;
constexpr auto kRunLimit = std::chrono::seconds(120);

// How a run ends: the statement hook inside a kind of step or at the n-th statement, or the
// test's own SIGKILL a random time after the session started.
struct KillPlan {
    QString hook;      // a step kind or "statement:<n>"; empty for a kill by the test
    int afterMs = -1;  // the test's kill, after the session started
};

struct Row {
    std::int32_t id;
    std::int32_t parentId;
    QString key;
    QString parentKey;
    std::int32_t sekunden;
};

struct Booked {
    std::int32_t orderRow;
    std::int32_t seconds;
};

struct RunResult {
    bool killed = false;
    QString killedIn;  // the kind of step the hook stopped, empty for none
    std::vector<CrashLogEntry> log;
};

std::uint64_t chosenSeed() {
    const QByteArray text = qgetenv("ORV_CRASH_SEED");
    if (!text.isEmpty()) {
        return text.toULongLong();
    }
    return std::random_device{}();
}

class CrashSafetyTest : public test::BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(office::loadDemoData(database()));
        ASSERT_TRUE(dir_.isValid());
    }

    QString targetText() const {
        const db::DbTarget& target = const_cast<CrashSafetyTest*>(this)->temp().target();
        return target.backend == db::Backend::Sqlite
                   ? QStringLiteral("sqlite:") + target.sqlitePath
                   : QStringLiteral("postgres:") + target.conninfo;
    }

    // Runs one worker session to its end or its kill.
    RunResult run(int number, std::uint64_t seed, const KillPlan& plan, int steps) {
        const QString log = dir_.filePath(QStringLiteral("lauf%1.log").arg(number));
        const QString output = dir_.filePath(QStringLiteral("lauf%1.out").arg(number));
        // Every run starts six hours after the last, well after its ticks and pauses ended:
        // the time between is no one's.
        const QDateTime start =
            QDateTime(QDate(2026, 3, 16), QTime(7, 0)).addSecs(qint64{number} * 6 * 3600);
        QStringList args{QStringLiteral(ORV_CRASH_WORKER),
                         targetText(),
                         QString::number(kEmployee),
                         QString::number(seed),
                         start.toString(Qt::ISODate),
                         QString::number(steps),
                         log};
        if (!plan.hook.isEmpty()) {
            args << plan.hook;
        }
        const pid_t pid = spawn(args, output);
        if (pid <= 0) {
            ADD_FAILURE() << "Der Arbeitsprozess startet nicht.";
            return {};
        }
        if (plan.afterMs >= 0) {
            waitForStart(log, pid);
            QThread::msleep(static_cast<unsigned long>(plan.afterMs));
            ::kill(pid, SIGKILL);
        }
        const int status = waitFor(pid);
        RunResult result;
        result.log = readCrashLog(log);
        result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (!result.killed && !finished) {
            QFile out(output);
            out.open(QIODevice::ReadOnly);
            ADD_FAILURE() << "Der Arbeitsprozess endete mit Status " << status << ": "
                          << out.readAll().toStdString();
        }
        for (const CrashLogEntry& entry : result.log) {
            if (entry.kind == 'H') {
                result.killedIn = inFlightKind(result.log);
            }
        }
        return result;
    }

    static pid_t spawn(const QStringList& args, const QString& output) {
        std::vector<QByteArray> storage;
        std::vector<char*> argv;
        for (const QString& arg : args) {
            storage.push_back(arg.toLocal8Bit());
        }
        for (QByteArray& arg : storage) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const QByteArray out = QFile::encodeName(output);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    // Until the session has started (or the worker ended): a kill by the test lands in its work.
    static void waitForStart(const QString& log, pid_t pid) {
        const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const CrashLogEntry& entry : readCrashLog(log)) {
                if (entry.kind == 'S' || entry.kind == 'F') {
                    return;
                }
            }
            if (::waitpid(pid, nullptr, WNOHANG | WNOWAIT) != 0) {
                return;
            }
            QThread::msleep(1);
        }
    }

    static int waitFor(pid_t pid) {
        const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "Der Arbeitsprozess hängt; er wird beendet.";
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            QThread::msleep(1);
        }
        return status;
    }

    // The kind of the step that began last and did not end.
    static QString inFlightKind(const std::vector<CrashLogEntry>& log) {
        QString kind;
        for (const CrashLogEntry& entry : log) {
            if (entry.kind == 'B') {
                kind = entry.fields.value(1);
            } else if (entry.kind == 'E') {
                kind.clear();
            }
        }
        return kind;
    }

    std::vector<Row> rows() {
        db::DbService s(database());
        s.Open();
        std::vector<Row> result;
        for (bool more = s.OpenQuery(QStringLiteral("SELECT idLeistungZeiterfassung,"
                                                    " VorgangParentId, VorgangKey,"
                                                    " VorgangParentKey, Sekunden"
                                                    " FROM tLeistungZeiterfassung"
                                                    " WHERE ps_id = $1"),
                                     db::Params{std::int64_t{kEmployee}}) == 1;
             more; more = s.Move(3)) {
            result.push_back({s.FieldLong("idLeistungZeiterfassung"),
                              s.FieldLong("VorgangParentId"), s.FieldText("VorgangKey"),
                              s.FieldText("VorgangParentKey"), s.FieldLong("Sekunden")});
        }
        return result;
    }

    // Entry rows named by the texts of the employee's services, with how many services each.
    std::map<std::int32_t, std::set<std::int32_t>> bookedEntries() {
        db::DbService s(database());
        s.Open();
        std::map<std::int32_t, std::set<std::int32_t>> result;
        for (bool more = s.OpenQuery(QStringLiteral("SELECT t.flLeistung, t.dcText FROM"
                                                    " tLeistungText t JOIN tLeistung l"
                                                    " ON l.idLeistung = t.flLeistung"
                                                    " WHERE l.flMitarbeiter = $1"),
                                     db::Params{std::int64_t{kEmployee}}) == 1;
             more; more = s.Move(3)) {
            const QString text = s.FieldText("dcText");
            bool isNumber = false;
            const std::int32_t entry = text.mid(1).toInt(&isNumber);
            if (text.startsWith(QLatin1Char('L')) && isNumber && text == entryTag(entry)) {
                result[entry].insert(s.FieldLong("flLeistung"));
            }
        }
        return result;
    }

    // One login after the other; only the last, the killed session's, may still be open.
    void checkLogins() {
        db::DbService s(database());
        s.Open();
        QDateTime previousEnd;
        bool previousOpen = false;
        for (bool more = s.OpenQuery(QStringLiteral("SELECT LeistungserfassungAnmeldung AS von,"
                                                    " LeistungserfassungAbmeldung AS bis FROM"
                                                    " tLeistungZeiterfassungLogins WHERE Ps_Id ="
                                                    " $1 ORDER BY LeistungserfassungAnmeldung"),
                                     db::Params{std::int64_t{kEmployee}}) == 1;
             more; more = s.Move(3)) {
            const QDateTime von = s.FieldDate("von");
            EXPECT_FALSE(previousOpen)
                << "eine offene Anmeldung vor " << von.toString().toStdString();
            EXPECT_TRUE(!previousEnd.isValid() || previousEnd <= von)
                << "Anmeldungen überschneiden sich vor " << von.toString().toStdString();
            previousEnd = s.FieldDate("bis");
            previousOpen = !previousEnd.isValid();
        }
    }

    // The database as a kill left it; returns the seconds of all orders.
    std::int32_t checkDatabase() {
        const std::vector<Row> all = rows();
        std::map<std::int32_t, const Row*> orders;
        for (const Row& row : all) {
            if (row.parentId == 0) {
                orders[row.id] = &row;
                const QString expectedKey =
                    row.key == QLatin1String("p0") ? row.key : QStringLiteral("a%1").arg(row.id);
                EXPECT_EQ(row.key, expectedKey) << "Auftragszeile " << row.id;
            }
        }
        std::map<std::int32_t, std::int32_t> entrySeconds;
        for (const Row& row : all) {
            if (row.parentId == 0) {
                continue;
            }
            const auto order = orders.find(row.parentId);
            if (order == orders.end()) {
                ADD_FAILURE() << "Leistung " << row.id << " ohne ihren Auftrag " << row.parentId;
                continue;
            }
            const QString parentKey = order->second->key == QLatin1String("p0")
                                          ? order->second->key
                                          : QStringLiteral("a%1").arg(row.parentId);
            EXPECT_EQ(row.parentKey, parentKey) << "Leistung " << row.id;
            entrySeconds[row.parentId] += row.sekunden;
        }
        const auto booked = bookedEntries();
        std::map<std::int32_t, std::int32_t> bookedSeconds;
        for (const auto& [entry, services] : booked) {
            EXPECT_EQ(services.size(), 1u) << "Leistung " << entry << " ist mehrfach gebucht";
            for (const Row& row : all) {
                EXPECT_NE(row.id, entry)
                    << "Leistung " << entry << " ist gebucht und noch vorläufig";
            }
            const auto released = booked_.find(entry);
            if (released == booked_.end()) {
                ADD_FAILURE() << "Gebuchte Leistung " << entry << " wurde nie freigegeben";
                continue;
            }
            bookedSeconds[released->second.orderRow] += released->second.seconds;
        }
        checkLogins();
        std::int32_t total = 0;
        for (const auto& [id, order] : orders) {
            total += order->sekunden;
            EXPECT_EQ(order->sekunden, entrySeconds[id] + bookedSeconds[id])
                << "Auftrag " << order->key.toStdString() << ": " << entrySeconds[id]
                << " s vorläufig, " << bookedSeconds[id] << " s gebucht";
        }
        return total;
    }

    // What a run logged and what its kill left, against what the database held before it.
    void checkRun(const RunResult& result) {
        std::optional<CrashLogEntry> lastEnd;
        int inFlightSeconds = 0;
        std::int32_t before = total_;
        for (const CrashLogEntry& entry : result.log) {
            switch (entry.kind) {
                case 'S':
                    EXPECT_EQ(entry.number(0), total_) << "Starten lädt andere Sekunden";
                    EXPECT_EQ(entry.number(1), entry.number(2))
                        << "Produktive Sekunden und Aufträge nach dem Laden";
                    before = static_cast<std::int32_t>(entry.number(0));
                    break;
                case 'F':
                case 'X':
                    ADD_FAILURE() << entry.kind << " "
                                  << entry.fields.join(QLatin1Char(' ')).toStdString();
                    break;
                case 'B':
                    inFlightSeconds = static_cast<int>(entry.number(2));
                    break;
                case 'K':
                    booked_[static_cast<std::int32_t>(entry.number(0))] = {
                        static_cast<std::int32_t>(entry.number(1)),
                        static_cast<std::int32_t>(entry.number(2))};
                    break;
                case 'E':
                    lastEnd = entry;
                    inFlightSeconds = 0;
                    break;
                default:
                    break;
            }
        }
        const std::int32_t counted =
            lastEnd ? static_cast<std::int32_t>(lastEnd->number(1)) : before;
        const std::int32_t saved = lastEnd ? static_cast<std::int32_t>(lastEnd->number(2)) : before;
        const std::int32_t unsaved = lastEnd ? static_cast<std::int32_t>(lastEnd->number(3)) : 0;
        const std::int32_t held = checkDatabase();
        // Lost at most what the running stopwatch counted since its save; nothing invented.
        EXPECT_GE(held, saved) << "gesicherte Zeit verloren";
        EXPECT_LE(counted + inFlightSeconds - held, unsaved + inFlightSeconds)
            << "mehr Zeit verloren als die laufende Stoppuhr seit ihrer Sicherung gezählt hatte";
        EXPECT_LE(held, counted + inFlightSeconds) << "mehr Zeit gespeichert als gezählt";
        longestLoss_ = std::max(longestLoss_, counted + inFlightSeconds - held);
        total_ = held;
    }

    QTemporaryDir dir_;
    std::int32_t total_ = 0;                 // the seconds of all orders after the last run
    std::map<std::int32_t, Booked> booked_;  // entries released for booking, by row
    std::int32_t longestLoss_ = 0;
};

TEST_P(CrashSafetyTest, KilledSessionsLoseAtMostTheirUnsavedSeconds) {
    const std::uint64_t seed = chosenSeed();
    SCOPED_TRACE("ORV_CRASH_SEED=" + std::to_string(seed) + " wiederholt die Läufe");
    std::mt19937_64 random(seed);

    // Bookings most often: the window in which a kill would book an entry twice is their end.
    std::vector<KillPlan> plans;
    const std::pair<QString, int> hooks[] = {
        {kind::kTick, 5},  {kind::kSingle, 6}, {kind::kSummed, 6},
        {kind::kEdit, 2},  {kind::kDelete, 2}, {kind::kSwitch, 2},
        {kind::kStart, 1}, {kind::kPause, 2},  {kind::kManual, 1}};
    for (const auto& [kind, times] : hooks) {
        for (int i = 0; i < times; ++i) {
            plans.push_back({kind, -1});
        }
    }
    for (int i = 0; i < 3; ++i) {
        plans.push_back({QStringLiteral("statement:%1").arg(1 + random() % 400), -1});
    }
    for (int i = 0; i < 6; ++i) {
        plans.push_back({QString(), static_cast<int>(random() % 200)});
    }
    std::shuffle(plans.begin(), plans.end(), random);
    // The first start also creates the idle order.
    plans.insert(plans.begin(), KillPlan{kind::kStart, -1});

    int kills = 0;
    std::map<QString, int> killedInside;
    int number = 0;
    for (const KillPlan& plan : plans) {
        ++number;
        SCOPED_TRACE("Lauf " + std::to_string(number) + ", Plan " +
                     (plan.hook.isEmpty() ? "Abbruch nach " + std::to_string(plan.afterMs) + " ms"
                                          : plan.hook.toStdString()));
        const RunResult result = run(number, random(), plan, kStepsPerRun);
        kills += result.killed ? 1 : 0;
        if (!result.killedIn.isEmpty()) {
            ++killedInside[result.killedIn];
        }
        checkRun(result);
        if (HasFailure()) {
            return;
        }
    }
    // The last start only loads what the last kill left.
    const RunResult last = run(++number, random(), {}, 0);
    EXPECT_FALSE(last.killed);
    checkRun(last);

    std::cout << "ORV_CRASH_SEED=" << seed << ": " << kills << " Abbrüche; in Schritten:";
    for (const auto& [kind, count] : killedInside) {
        std::cout << " " << kind.toStdString() << " " << count;
    }
    std::cout << "; größter Zeitverlust " << longestLoss_ << " s" << std::endl;
    EXPECT_GE(kills, 20);
    EXPECT_GE(killedInside[kind::kTick], 3) << "zu wenige Abbrüche in einer Sicherung";
    EXPECT_GE(killedInside[kind::kSingle] + killedInside[kind::kSummed], 4)
        << "zu wenige Abbrüche in einer Buchung";
}

ORV_INSTANTIATE_FOR_BACKENDS(CrashSafetyTest);

}  // namespace
}  // namespace orv::test::crash
