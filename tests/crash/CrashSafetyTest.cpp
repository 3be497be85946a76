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
#include <QProcess>
#include <QStringList>

#include <csignal>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>

namespace orv::test::crash {
namespace {

constexpr std::int32_t kEmployee = office::demo::kEmployeeWithRights;
constexpr int kStepsPerRun = 3000;
constexpr int kRunLimitMs = 120000;

struct RunResult {
    bool killed = false;
    QString killedIn;  // the kind of step the hook stopped, empty for none
    QStringList log;   // the worker's lines
};

class CrashSafetyTest : public test::BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            ASSERT_TRUE(office::loadDemoData(database()));
            ASSERT_TRUE(dir_.isValid());
        }
    }

    // Runs one worker session to its end or its kill (see the worker for the plans). Every run
    // starts six hours after the last, well after its ticks and pauses ended: the time between
    // is no one's.
    RunResult run(int number, std::uint64_t seed, const QString& plan, int steps) {
        const QString log = dir_.filePath(QStringLiteral("lauf%1.log").arg(number));
        const db::DbTarget& target = temp().target();
        QStringList args{target.backend == db::Backend::Sqlite
                             ? QStringLiteral("sqlite:") + target.sqlitePath
                             : QStringLiteral("postgres:") + target.conninfo,
                         QString::number(kEmployee), QString::number(seed),
                         // Six hours apart: more than a whole run of the worker takes.
                         QDateTime(QDate(2026, 3, 16), QTime(7, 0))
                             .addSecs(qint64{number} * 6 * 3600)
                             .toString(Qt::ISODate),
                         QString::number(steps), log, plan};
        QProcess worker;
        worker.setProcessChannelMode(QProcess::MergedChannels);
        worker.start(QStringLiteral(ORV_CRASH_WORKER), args);
        EXPECT_TRUE(worker.waitForStarted()) << "Der Arbeitsprozess startet nicht.";
        if (!worker.waitForFinished(kRunLimitMs)) {
            ADD_FAILURE() << "Der Arbeitsprozess hängt; er wird beendet.";
            worker.kill();
            worker.waitForFinished();
        }
        RunResult result;
        QFile file(log);
        if (file.open(QIODevice::ReadOnly)) {
            result.log =
                QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        result.killed = worker.exitStatus() == QProcess::CrashExit && worker.exitCode() == SIGKILL;
        if (!result.killed && (worker.exitStatus() != QProcess::NormalExit || worker.exitCode())) {
            ADD_FAILURE() << "Der Arbeitsprozess endete mit Status " << worker.exitCode() << ": "
                          << worker.readAll().toStdString();
        }
        if (!result.log.isEmpty() && result.log.back().startsWith(QLatin1Char('H'))) {
            result.killedIn = result.log.back().section(QLatin1Char(' '), 2);
        }
        return result;
    }

    // Calls row for every row the query of the employee's rows finds.
    void eachRow(const char* sql, const std::function<void(db::DbService&)>& row) {
        db::DbService s(database());
        s.Open();
        for (bool more =
                 s.OpenQuery(QString::fromUtf8(sql), db::Params{std::int64_t{kEmployee}}) == 1;
             more; more = s.Move(3)) {
            row(s);
        }
    }

    // The database as a kill left it; returns the seconds of all orders.
    std::int32_t checkDatabase() {
        std::map<std::int32_t, QString> orderKeys;
        std::map<std::int32_t, std::int32_t> orderSeconds;
        std::map<std::int32_t, std::int32_t> entrySeconds;  // by order row
        std::set<std::int32_t> provisional;
        eachRow(
            "SELECT idLeistungZeiterfassung AS id, VorgangParentId AS parent, VorgangKey AS"
            " k, VorgangParentKey AS pk, Sekunden FROM tLeistungZeiterfassung WHERE ps_id ="
            " $1 ORDER BY VorgangParentId, idLeistungZeiterfassung",
            [&](db::DbService& s) {
                const std::int32_t id = s.FieldLong("id");
                const std::int32_t parent = s.FieldLong("parent");
                provisional.insert(id);
                if (parent == 0) {
                    const QString key = s.FieldText("k");
                    EXPECT_TRUE(key == QLatin1String("p0") || key == QStringLiteral("a%1").arg(id))
                        << "Auftragszeile " << id << ": " << key.toStdString();
                    orderKeys[id] = key;
                    orderSeconds[id] = s.FieldLong("Sekunden");
                } else if (!orderKeys.count(parent)) {
                    ADD_FAILURE() << "Leistung " << id << " ohne ihren Auftrag " << parent;
                } else {
                    EXPECT_EQ(s.FieldText("pk"), orderKeys[parent]) << "Leistung " << id;
                    entrySeconds[parent] += s.FieldLong("Sekunden");
                }
            });
        // Services name the entry they were booked from in a text line.
        std::map<std::int32_t, int> services;
        eachRow(
            "SELECT t.dcText FROM tLeistungText t JOIN tLeistung l ON l.idLeistung ="
            " t.flLeistung WHERE l.flMitarbeiter = $1",
            [&](db::DbService& s) {
                const QString text = s.FieldText("dcText");
                if (text == entryTag(text.mid(1).toInt())) {
                    ++services[text.mid(1).toInt()];
                }
            });
        for (const auto& [entry, count] : services) {
            EXPECT_EQ(count, 1) << "Leistung " << entry << " ist mehrfach gebucht";
            EXPECT_FALSE(provisional.count(entry))
                << "Leistung " << entry << " ist gebucht und noch vorläufig";
            EXPECT_TRUE(booked_.count(entry)) << "Leistung " << entry << " nie freigegeben";
            entrySeconds[booked_[entry].first] += booked_[entry].second;
        }
        // One login after the other; only the last, the killed session's, may still be open.
        QDateTime previousEnd;
        bool previousOpen = false;
        eachRow(
            "SELECT LeistungserfassungAnmeldung AS von, LeistungserfassungAbmeldung AS bis"
            " FROM tLeistungZeiterfassungLogins WHERE Ps_Id = $1 ORDER BY"
            " LeistungserfassungAnmeldung",
            [&](db::DbService& s) {
                const QDateTime von = s.FieldDate("von");
                EXPECT_TRUE(!previousOpen && (!previousEnd.isValid() || previousEnd <= von))
                    << "Anmeldungen offen oder überschnitten vor " << von.toString().toStdString();
                previousEnd = s.FieldDate("bis");
                previousOpen = !previousEnd.isValid();
            });
        std::int32_t total = 0;
        for (const auto& [id, seconds] : orderSeconds) {
            total += seconds;
            EXPECT_EQ(seconds, entrySeconds[id])
                << "Auftrag " << orderKeys[id].toStdString() << " (vorläufig und gebucht)";
        }
        return total;
    }

    // What a run logged and what its kill left, against what the database held before it.
    void checkRun(const RunResult& result) {
        std::int32_t counted = total_;  // the session's seconds at the last end of a step
        std::int32_t saved = total_;
        std::int32_t unsaved = 0;
        std::int32_t inFlight = 0;  // seconds the clock advanced in the step the kill cut
        for (const QString& line : result.log) {
            const char kind = line.at(0).toLatin1();
            const auto number = [&](int i) {
                return line.section(QLatin1Char(' '), i + 1, i + 1).toInt();
            };
            if (kind == 'S') {
                EXPECT_EQ(number(0), total_) << "Starten lädt andere Sekunden";
                EXPECT_EQ(number(1), number(2)) << "Produktive Sekunden und Aufträge beim Laden";
            } else if (kind == 'F' || kind == 'X') {
                ADD_FAILURE() << line.toStdString();
            } else if (kind == 'B') {
                inFlight = number(2);
            } else if (kind == 'K') {
                booked_[number(0)] = {number(1), number(2)};
            } else if (kind == 'E') {
                counted = number(1);
                saved = number(2);
                unsaved = number(3);
                inFlight = 0;
            }
        }
        // Lost at most what the running stopwatch counted since its save; nothing invented.
        const std::int32_t held = checkDatabase();
        EXPECT_GE(held, saved) << "gesicherte Zeit verloren";
        EXPECT_LE(counted - held, unsaved)
            << "mehr Zeit verloren als die laufende Stoppuhr seit ihrer Sicherung gezählt hatte";
        EXPECT_LE(held, counted + inFlight) << "mehr Zeit gespeichert als gezählt";
        longestLoss_ = std::max(longestLoss_, counted + inFlight - held);
        total_ = held;
    }

    QTemporaryDir dir_;
    std::int32_t total_ = 0;  // the seconds of all orders after the last run
    // Entries released for booking, by row: their order's row and their seconds.
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> booked_;
    std::int32_t longestLoss_ = 0;
};

TEST_P(CrashSafetyTest, KilledSessionsLoseAtMostTheirUnsavedSeconds) {
    const QByteArray seedText = qgetenv("ORV_CRASH_SEED");
    const std::uint64_t seed = seedText.isEmpty() ? std::random_device{}() : seedText.toULongLong();
    SCOPED_TRACE("ORV_CRASH_SEED=" + std::to_string(seed) + " wiederholt die Läufe");
    std::mt19937_64 random(seed);

    // Bookings most often: the window in which a kill would book an entry twice is their end.
    // The first start also creates the idle order.
    std::vector<QString> plans{kind::kStart};
    const std::pair<QString, int> hooks[] = {
        {kind::kTick, 5},  {kind::kSingle, 6}, {kind::kSummed, 6},
        {kind::kEdit, 2},  {kind::kDelete, 2}, {kind::kSwitch, 2},
        {kind::kStart, 1}, {kind::kPause, 2},  {kind::kManual, 1}};
    for (const auto& [kind, times] : hooks) {
        plans.insert(plans.end(), times, kind);
    }
    for (int i = 0; i < 3; ++i) {
        plans.push_back(QStringLiteral("statement:%1").arg(1 + random() % 400));
    }
    for (int i = 0; i < 6; ++i) {
        plans.push_back(QStringLiteral("after:%1").arg(random() % 200));
    }
    std::shuffle(plans.begin() + 1, plans.end(), random);

    int kills = 0;
    std::map<QString, int> killedInside;
    int number = 0;
    for (const QString& plan : plans) {
        SCOPED_TRACE("Lauf " + std::to_string(++number) + ", Plan " + plan.toStdString());
        const RunResult result = run(number, random(), plan, kStepsPerRun);
        kills += result.killed ? 1 : 0;
        killedInside[result.killedIn] += 1;
        checkRun(result);
        if (HasFailure()) {
            return;
        }
    }
    // The last start only loads what the last kill left.
    const RunResult last = run(++number, random(), QString(), 0);
    EXPECT_FALSE(last.killed);
    checkRun(last);

    std::cout << "ORV_CRASH_SEED=" << seed << ": " << kills << " Abbrüche; in Schritten:";
    for (const auto& [kind, count] : killedInside) {
        std::cout << " " << (kind.isEmpty() ? "-" : kind.toStdString()) << " " << count;
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
