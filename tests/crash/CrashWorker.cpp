// A session that a test kills: it drives the stopwatches of one employee on a settable clock
// with a workload drawn from a seed (ticks with their periodic save, and the office load tool's
// commands: switches, stops, edits, deletions, pauses, manual entries, single and summed
// booking) and writes its progress to a log. A kill plan can stop it with
// SIGKILL between two statements of a chosen kind of step.
//
//   orv_crash_worker <target> <employee> <seed> <start yyyy-MM-ddTHH:mm:ss> <steps> <log>
//                    [<kind> | statement:<n> | start]
#include "CrashLog.h"
#include "FakePlatform.h"
#include "Workload.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/procedures/OfficeCatalogue.h"
#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/DbTarget.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/OrvError.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <map>
#include <random>
#include <vector>

namespace orv::test::crash {
namespace {

// The office orders the employee works on; a new stopwatch takes one of them.
const std::vector<std::int32_t> kOfficeOrders = {5001, 5002, 5003, 5006, 5011};
// About as many statements as a start runs: options, rights, clean-up, loading, login.
constexpr int kStatementsOfAStart = 30;

// The employee's answers go to the scripted windows; a pause lets the clock run on.
class ScriptedDesk final : public load::WorkloadDesk {
public:
    explicit ScriptedDesk(FakePlatform& platform) : platform_(platform) {
        platform_.frmPause().setClock(&platform_.settableClock());
    }
    void nextEdit(std::int32_t status, std::int32_t seconds, std::int32_t auftragId) override {
        platform_.frmLeistung().answer({status, seconds, auftragId});
    }
    void nextRebooking(cLeistung*, std::int32_t) override {}  // not in this workload
    void nextPause(std::int32_t seconds) override { platform_.frmPause().answer(seconds); }

private:
    FakePlatform& platform_;
};

class CrashRun {
public:
    CrashRun(db::Database& database, FakePlatform& platform, CStoppUhren& session,
             std::int32_t employee, std::uint64_t seed, const CrashLogWriter& log)
        : database_(database),
          platform_(platform),
          session_(session),
          employee_(employee),
          random_(seed),
          desk_(platform),
          workload_(session, desk_, random_, kOfficeOrders),
          log_(log) {
        // Each booked entry is named by a text line of its own in the services.
        workload_.onRelease([this](const CAuftrag& auftrag, cLeistung& leistung) {
            const QString tag = entryTag(leistung.Id());
            bool tagged = false;
            for (const auto& line : leistung.Texte()) {
                tagged = tagged || line->Text() == tag;
            }
            if (!tagged) {
                leistung.TextHinzufuegen(0, tag);
            }
            log_.line(QStringLiteral("K %1 %2 %3")
                          .arg(leistung.Id())
                          .arg(auftrag.Id())
                          .arg(leistung.Sekunden()));
        });
    }

    // Kill at the n-th statement run inside steps.
    void killAtStatement(int n) { statementsLeft_ = n; }
    // Kill inside the next step of that kind that runs statements.
    void killInside(const QString& kind) { killKind_ = kind; }

    // Kill somewhere inside Starten, which loads and, on a new day, creates the idle order.
    void killInsideStart() { killKind_ = kind::kStart; }

    bool start() {
        if (killKind_ == kind::kStart) {
            log_.line(QStringLiteral("B 0 %1 0").arg(kind::kStart));
            const int at = 1 + static_cast<int>(random_() % kStatementsOfAStart);
            database_.faults().atStatement(at, [this] {
                log_.line(QStringLiteral("H 0"));
                std::raise(SIGKILL);
            });
        }
        std::int32_t employee = employee_;
        if (!session_.Starten(employee) || !platform_.errorReports().empty()) {
            log_.line(QStringLiteral("F ") + firstReport());
            return false;
        }
        // After a kill the session knows what was counted: a question about a gap to add
        // would count time twice, and the employee would answer it with yes.
        for (const AskedBox& box : platform_.messageBoxes().asked()) {
            fault(QStringLiteral("Frage beim Start: ") + box.text.simplified());
        }
        if (killKind_ == kind::kStart) {
            // The start was shorter than drawn: soon after it, then.
            database_.faults().clear();
            killKind_.clear();
            statementsLeft_ = 1 + static_cast<int>(random_() % 50);
        }
        total_ = sessionTotal();
        std::int32_t orders = 0;
        for (const auto& auftrag : session_.Auftraege()) {
            orders += auftrag->Sekunden();
        }
        log_.line(
            QStringLiteral("S %1 %2 %3").arg(total_).arg(session_.AuftragsSekunden()).arg(orders));
        return true;
    }

    void run(int steps) {
        for (int step = 1; step <= steps; ++step) {
            runStep(step);
        }
        log_.line(QStringLiteral("D"));
    }

private:
    QString drawKind() {
        const int draw = static_cast<int>(random_() % 100);
        const std::pair<int, QString> kinds[] = {
            {68, kind::kTick},  {78, kind::kSwitch}, {84, kind::kEdit},   {87, kind::kDelete},
            {88, kind::kPause}, {91, kind::kManual}, {96, kind::kSingle}, {100, kind::kSummed}};
        for (const auto& [upTo, kind] : kinds) {
            if (draw < upTo) {
                return kind;
            }
        }
        return kind::kTick;
    }

    void runStep(int step) {
        const QString kind = drawKind();
        const int seconds = kind == kind::kTick ? 1 + static_cast<int>(random_() % 3) : 0;
        log_.line(QStringLiteral("B %1 %2 %3").arg(step).arg(kind).arg(seconds));
        const int statementsBefore = database_.faults().statementsSeen();
        arm(step, kind);
        try {
            if (kind == kind::kTick) {
                platform_.settableClock().advance(seconds);
                platform_.timer()->tick();
                total_ += seconds;
            } else if (kind == kind::kSwitch) {
                // No order is finished: a finished order whose entries are all booked goes
                // with its seconds, which this count of seconds would have to follow.
                bool created = false;
                if (workload_.uniform(1, 4) > 1 || !workload_.stop()) {
                    workload_.switchOrder(created);
                }
            } else if (kind == kind::kEdit) {
                workload_.edit();
            } else if (kind == kind::kDelete) {
                workload_.deleteEntry();
            } else if (kind == kind::kPause) {
                workload_.pause(workload_.uniform(60, 600));
            } else if (kind == kind::kManual) {
                workload_.manualEntry();
            } else {
                workload_.book(false, kind == kind::kSummed);
            }
        } catch (const std::exception& e) {
            fault(QStringLiteral("Schritt %1 (%2): %3")
                      .arg(step)
                      .arg(kind)
                      .arg(QString::fromUtf8(e.what())));
        }
        database_.faults().clear();
        const int used = database_.faults().statementsSeen() - statementsBefore;
        if (used > 0) {
            sizes_[kind] = used;
        }
        if (statementsLeft_ > 0) {
            statementsLeft_ -= used;  // still alive: the n-th statement lies further on
        }
        if (platform_.errorReports().size() != reports_) {
            fault(QStringLiteral("Schritt %1 (%2) meldet: %3")
                      .arg(step)
                      .arg(kind)
                      .arg(firstReport()));
            reports_ = platform_.errorReports().size();
        }
        const std::int32_t total = sessionTotal();
        if (total != total_) {
            fault(QStringLiteral("Schritt %1 (%2): die Sitzung zählt %3 s statt %4 s")
                      .arg(step)
                      .arg(kind)
                      .arg(total)
                      .arg(total_));
            total_ = total;
        }
        log_.line(QStringLiteral("E %1 %2 %3 %4")
                      .arg(step)
                      .arg(total)
                      .arg(savedSeconds(QStringLiteral("VorgangParentId = 0")))
                      .arg(unsavedSeconds()));
    }

    // Lets the statement hook stop the process inside this step, when the plan says so.
    void arm(int step, const QString& kind) {
        int at = 0;
        if (statementsLeft_ > 0) {
            at = statementsLeft_;
        } else if (!killKind_.isEmpty() && kind == killKind_) {
            // Somewhere inside a step of this kind, judged by the size of the last one.
            const auto known = sizes_.find(kind);
            const int size = known != sizes_.end() ? known->second : 6;
            at = 1 + static_cast<int>(random_() % static_cast<unsigned>(size));
        }
        if (at > 0) {
            const CrashLogWriter* log = &log_;
            database_.faults().atStatement(at, [log, step] {
                log->line(QStringLiteral("H %1").arg(step));
                std::raise(SIGKILL);
            });
        }
    }

    void fault(const QString& text) { log_.line(QStringLiteral("X ") + text); }

    QString firstReport() const {
        return platform_.errorReports().empty()
                   ? QStringLiteral("Starten lieferte false")
                   : platform_.errorReports().back().description.simplified();
    }

    std::int32_t sessionTotal() const {
        std::int32_t total = session_.LeerlaufAuftrag().Sekunden();
        for (const auto& auftrag : session_.Auftraege()) {
            total += auftrag->Sekunden();
        }
        return total;
    }

    // The seconds the employee's rows of that kind hold.
    std::int32_t savedSeconds(const QString& where) {
        db::DbService service(database_);
        service.Open();
        service.OpenQuery(QStringLiteral("SELECT COALESCE(SUM(Sekunden), 0) AS s FROM"
                                         " tLeistungZeiterfassung WHERE ps_id = $1 AND ") +
                              where,
                          db::Params{std::int64_t{employee_}});
        return service.FieldLong("s");
    }

    // What the running stopwatch counted since it was saved last: all a kill may lose.
    std::int32_t unsavedSeconds() {
        const CAuftrag& laufend =
            session_.AuftragLaeuft() ? *session_.AktuellerAuftrag() : session_.LeerlaufAuftrag();
        return laufend.Sekunden() - savedSeconds(QStringLiteral("idLeistungZeiterfassung = ") +
                                                 QString::number(laufend.Id()));
    }

    db::Database& database_;
    FakePlatform& platform_;
    CStoppUhren& session_;
    std::int32_t employee_;
    std::mt19937_64 random_;
    ScriptedDesk desk_;
    load::Workload workload_;
    const CrashLogWriter& log_;
    std::int32_t total_ = 0;  // what the session must count: loaded plus ticked seconds
    std::size_t reports_ = 0;
    int statementsLeft_ = 0;
    QString killKind_;
    std::map<QString, int> sizes_;  // statements of the last step of each kind
};

int work(const QStringList& args) {
    const std::optional<db::DbTarget> target = db::DbTarget::parse(args.at(1));
    if (!target || args.size() < 7) {
        return 2;
    }
    const CrashLogWriter log(args.at(6));
    db::Database database(*target, &office::officeCatalogue());
    FakePlatform platform(database, Tracing::Off);
    platform.settableClock().set(QDateTime::fromString(args.at(4), Qt::ISODate));
    CStoppUhren session(platform);
    CrashRun workload(database, platform, session, args.at(2).toInt(), args.at(3).toULongLong(),
                      log);
    if (args.size() > 7) {
        const QString plan = args.at(7);
        if (plan.startsWith(QLatin1String("statement:"))) {
            workload.killAtStatement(plan.section(QLatin1Char(':'), 1).toInt());
        } else if (plan == kind::kStart) {
            workload.killInsideStart();
        } else {
            workload.killInside(plan);
        }
    }
    if (!workload.start()) {
        return 1;
    }
    workload.run(args.at(5).toInt());
    return 0;
}

}  // namespace
}  // namespace orv::test::crash

int main(int argc, char** argv) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication app(argc, argv);
    try {
        return orv::test::crash::work(app.arguments());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orv_crash_worker: %s\n", e.what());
        return 3;
    }
}
