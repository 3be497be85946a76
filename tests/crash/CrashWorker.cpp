// A session that a test kills: it drives the stopwatches of one employee on a settable clock
// with a workload drawn from a seed (ticks with their periodic save, and the office load tool's
// commands: switches, stops, edits, deletions, pauses, manual entries, single and summed
// booking) and writes its progress to a log. A kill plan can stop it with
// SIGKILL between two statements of a chosen kind of step.
//
//   orv_crash_worker <target> <employee> <seed> <start yyyy-MM-ddTHH:mm:ss> <steps> <log>
//                    [<kind> | statement:<n> | after:<ms> | start]
#include "CrashLog.h"
#include "FakePlatform.h"
#include "TestQueries.h"
#include "Workload.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/procedures/OfficeCatalogue.h"
#include "persistence/Database.h"
#include "persistence/DbTarget.h"
#include "session/CStoppUhren.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <map>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

namespace orv::test::crash {
namespace {

// One line with one unbuffered write: a line the kill interrupted is never half there.
void appendLine(const QString& path, const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("Das Fortschrittsprotokoll kann nicht geschrieben werden.");
    }
}

// The office orders the employee works on; a new stopwatch takes one of them.
const std::vector<std::int32_t> kOfficeOrders = {5001, 5002, 5003, 5006, 5011};
// About as many statements as a start runs: options, rights, clean-up, loading, login.
constexpr int kStatementsOfAStart = 30;

class CrashRun final : public load::WorkloadDesk {
public:
    CrashRun(db::Database& database, FakePlatform& platform, CStoppUhren& session,
             std::int32_t employee, std::uint64_t seed, QString log)
        : database_(database),
          platform_(platform),
          session_(session),
          employee_(employee),
          random_(seed),
          workload_(session, *this, random_, kOfficeOrders),
          log_(std::move(log)) {
        // Each booked entry is named by a text line of its own in the services.
        workload_.onRelease([this](const CAuftrag& auftrag, cLeistung& leistung) {
            const QString tag = entryTag(leistung.Id());
            bool tagged = false;
            for (const auto& text : leistung.Texte()) {
                tagged = tagged || text->Text() == tag;
            }
            if (!tagged) {
                leistung.TextHinzufuegen(0, tag);
            }
            line(QStringLiteral("K %1 %2 %3")
                     .arg(leistung.Id())
                     .arg(auftrag.Id())
                     .arg(leistung.Sekunden()));
        });
    }

    // Kill at the n-th statement run inside steps ("statement:<n>"), that many milliseconds after
    // Starten ("after:<ms>"), or inside the next step of that kind that runs statements;
    // "start": inside Starten, which loads and, on a new day, creates the idle order.
    void plan(const QString& plan) {
        const int number = plan.section(QLatin1Char(':'), 1).toInt();
        if (plan.startsWith(QLatin1String("statement:"))) {
            statementsLeft_ = number;
        } else if (plan.startsWith(QLatin1String("after:"))) {
            killAfterMs_ = number;
        } else {
            killKind_ = plan;
        }
    }

    bool start() {
        if (killKind_ == kind::kStart) {
            killAt(1 + static_cast<int>(random_() % kStatementsOfAStart), 0, kind::kStart);
        }
        std::int32_t employee = employee_;
        if (!session_.Starten(employee) || !platform_.errorReports().empty()) {
            line(QStringLiteral("F ") + firstReport());
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
        if (killAfterMs_ >= 0) {
            std::thread([ms = killAfterMs_] {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                ::kill(::getpid(), SIGKILL);
            }).detach();
        }
        total_ = sessionTotal();
        line(QStringLiteral("S %1 %2 %3")
                 .arg(total_)
                 .arg(session_.AuftragsSekunden())
                 .arg(total_ - session_.LeerlaufAuftrag().Sekunden()));
        return true;
    }

    void run(int steps) {
        for (int step = 1; step <= steps; ++step) {
            runStep(step);
        }
        line(QStringLiteral("D"));
    }

    // The employee's answers go to the scripted windows; a pause lets the clock run on.
    void nextEdit(std::int32_t status, std::int32_t seconds, std::int32_t auftragId) override {
        platform_.frmLeistung().answer({status, seconds, auftragId});
    }
    void nextRebooking(cLeistung*, std::int32_t) override {}  // not in this workload
    void nextPause(std::int32_t seconds) override { platform_.frmPause().answer(seconds); }

private:
    void runStep(int step) {
        // Each kind of step below its bound of a draw out of 100.
        const int draw = static_cast<int>(random_() % 100);
        const std::pair<int, QString> kinds[] = {
            {68, kind::kTick},  {78, kind::kSwitch}, {84, kind::kEdit},   {87, kind::kDelete},
            {88, kind::kPause}, {91, kind::kManual}, {96, kind::kSingle}, {100, kind::kSummed}};
        const QString kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto& k) {
                                 return draw < k.first;
                             })->second;
        const int seconds = kind == kind::kTick ? 1 + static_cast<int>(random_() % 3) : 0;
        line(QStringLiteral("B %1 %2 %3").arg(step).arg(kind).arg(seconds));
        const QString where = QStringLiteral("Schritt %1 (%2)").arg(step).arg(kind);
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
                // Short pauses: a run that is never killed works 3000 steps, and with pauses of
                // up to ten minutes it outlasted the six hours to the next run's start, whose
                // login then overlapped its own.
                workload_.pause(workload_.uniform(60, 180));
            } else if (kind == kind::kManual) {
                workload_.manualEntry();
            } else {
                workload_.book(false, kind == kind::kSummed);
            }
        } catch (const std::exception& e) {
            fault(where + QStringLiteral(": ") + QString::fromUtf8(e.what()));
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
            fault(where + QStringLiteral(" meldet: ") + firstReport());
            reports_ = platform_.errorReports().size();
        }
        const std::int32_t total = sessionTotal();
        if (total != total_) {
            fault(where +
                  QStringLiteral(": die Sitzung zählt %1 s statt %2 s").arg(total).arg(total_));
            total_ = total;
        }
        line(QStringLiteral("E %1 %2 %3 %4")
                 .arg(step)
                 .arg(total)
                 .arg(savedSeconds(QStringLiteral("VorgangParentId = 0")))
                 .arg(unsavedSeconds()));
    }

    // Lets the statement hook stop the process inside this step, when the plan says so.
    void arm(int step, const QString& kind) {
        if (statementsLeft_ > 0) {
            killAt(statementsLeft_, step, kind);
        } else if (kind == killKind_) {
            // Somewhere inside a step of this kind, judged by the size of the last one.
            const auto known = sizes_.find(kind);
            const int size = known != sizes_.end() ? known->second : 6;
            killAt(1 + static_cast<int>(random_() % static_cast<unsigned>(size)), step, kind);
        }
    }

    void line(const QString& text) const { appendLine(log_, text); }
    void fault(const QString& text) const { line(QStringLiteral("X ") + text); }
    void killAt(int statement, int step, const QString& kind) {
        database_.faults().atStatement(statement, [this, step, kind] {
            line(QStringLiteral("H %1 %2").arg(step).arg(kind));
            std::raise(SIGKILL);
        });
    }

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
        return tableText(database_,
                         QStringLiteral("SELECT COALESCE(SUM(Sekunden), 0) AS s FROM"
                                        " tLeistungZeiterfassung WHERE ps_id = $1 AND ") +
                             where,
                         {"s"}, {std::int64_t{employee_}})
            .toInt();
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
    load::Workload workload_;
    const QString log_;
    std::int32_t total_ = 0;  // what the session must count: loaded plus ticked seconds
    std::size_t reports_ = 0;
    int statementsLeft_ = 0;
    int killAfterMs_ = -1;
    QString killKind_;
    std::map<QString, int> sizes_;  // statements of the last step of each kind
};

}  // namespace
}  // namespace orv::test::crash

int main(int argc, char** argv) {
    using namespace orv;
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const std::optional<db::DbTarget> target = db::DbTarget::parse(args.value(1));
    if (!target || args.size() < 7) {
        return 2;
    }
    try {
        db::Database database(*target, &office::officeCatalogue());
        test::FakePlatform platform(database, test::Tracing::Off);
        platform.settableClock().set(QDateTime::fromString(args.at(4), Qt::ISODate));
        CStoppUhren session(platform);
        test::crash::CrashRun workload(database, platform, session, args.at(2).toInt(),
                                       args.at(3).toULongLong(), args.at(6));
        workload.plan(args.value(7));
        if (!workload.start()) {
            return 1;
        }
        workload.run(args.at(5).toInt());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orv_crash_worker: %s\n", e.what());
        return 3;
    }
}
