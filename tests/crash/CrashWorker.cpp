// A session that a test kills: it drives the stopwatches of one employee on a settable clock
// with a workload drawn from a seed (ticks with their periodic save, switches, edits, deletions,
// single and summed booking) and writes its progress to a log. A kill plan can stop it with
// SIGKILL between two statements of a chosen kind of step.
//
//   orv_crash_worker <target> <employee> <seed> <start yyyy-MM-ddTHH:mm:ss> <steps> <log>
//                    [<kind> | statement:<n> | start]
#include "CrashLog.h"
#include "FakePlatform.h"

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

namespace orv::test::crash {
namespace {

// The office orders the employee works on; a new stopwatch takes one of them.
constexpr std::int32_t kOfficeOrders[] = {5001, 5002, 5003, 5006, 5011};
constexpr int kMostOrders = 5;
// About as many statements as a start runs: options, rights, clean-up, loading, login.
constexpr int kStatementsOfAStart = 30;

struct Picked {
    std::shared_ptr<CAuftrag> auftrag;
    std::shared_ptr<cLeistung> leistung;
};

class Workload {
public:
    Workload(db::Database& database, FakePlatform& platform, CStoppUhren& session,
             std::int32_t employee, std::uint64_t seed, const CrashLogWriter& log)
        : database_(database),
          platform_(platform),
          session_(session),
          employee_(employee),
          random_(seed),
          log_(log) {}

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
    void runStep(int step) {
        const int draw = static_cast<int>(random_() % 100);
        QString kind = kind::kTick;
        if (draw >= 70 && draw < 80) {
            kind = kind::kSwitch;
        } else if (draw >= 80 && draw < 87) {
            kind = kind::kEdit;
        } else if (draw >= 87 && draw < 91) {
            kind = kind::kDelete;
        } else if (draw >= 91 && draw < 96) {
            kind = kind::kSingle;
        } else if (draw >= 96) {
            kind = kind::kSummed;
        }
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
                switchStopwatch();
            } else if (kind == kind::kEdit) {
                edit();
            } else if (kind == kind::kDelete) {
                remove();
            } else {
                book(kind == kind::kSummed);
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
        log_.line(QStringLiteral("E %1 %2 %3").arg(step).arg(total).arg(savedTotal()));
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

    std::int32_t savedTotal() {
        db::DbService service(database_);
        service.Open();
        service.OpenQuery(QStringLiteral("SELECT COALESCE(SUM(Sekunden), 0) AS s FROM"
                                         " tLeistungZeiterfassung WHERE ps_id = $1"
                                         " AND VorgangParentId = 0"),
                          db::Params{std::int64_t{employee_}});
        return service.FieldLong("s");
    }

    // As the main window switches: the guard off, the running stopwatch stopped, the next one
    // started, the guard on again.
    void switchStopwatch() {
        QString target = CAuftrag::LeerlaufKey();
        bool neu = session_.Auftraege().Count() < kMostOrders && random_() % 3 == 0;
        if (!neu) {
            QStringList keys{CAuftrag::LeerlaufKey()};
            for (const auto& auftrag : session_.Auftraege()) {
                keys << auftrag->Key();
            }
            target = keys.at(static_cast<qsizetype>(random_() % keys.size()));
            const auto& current = session_.AktuellerAuftrag();
            const bool idleRuns = !session_.AuftragLaeuft();
            if ((idleRuns && target == CAuftrag::LeerlaufKey()) ||
                (!idleRuns && current != nullptr && current->Key() == target)) {
                return;
            }
        }
        session_.ZeitzaehlungAktiv(false);
        bool beenden = false;
        session_.AuftragAnhalten(beenden);
        session_.AuftragStarten(target, neu);
        if (neu) {
            session_.AktuellerAuftrag()->AuftragAendern(
                kOfficeOrders[random_() % std::size(kOfficeOrders)]);
        }
        session_.ZeitzaehlungAktiv(true);
    }

    // Stopped entries of productive orders with an office order: what the employee edits,
    // deletes and books.
    std::vector<Picked> stoppedEntries() const {
        std::vector<Picked> found;
        for (const auto& auftrag : session_.Auftraege()) {
            if (auftrag->AuftragId() < 1) {
                continue;
            }
            for (const auto& leistung : auftrag->Leistungen()) {
                if (leistung->Sekunden() > 0 && (leistung->Status() == AuftragStatus_InAktiv ||
                                                 leistung->Status() == AuftragStatus_Beendet)) {
                    found.push_back({auftrag, leistung});
                }
            }
        }
        return found;
    }

    std::vector<Picked> pickStopped(int most) {
        std::vector<Picked> all = stoppedEntries();
        std::shuffle(all.begin(), all.end(), random_);
        if (all.size() > static_cast<std::size_t>(most)) {
            all.resize(static_cast<std::size_t>(most));
        }
        return all;
    }

    // The edit window: another time within what the idle time can give, now and then none
    // (which deletes the entry) or another office order.
    void edit() {
        const std::vector<Picked> picked = pickStopped(1);
        if (picked.empty()) {
            return;
        }
        const Picked& p = picked.front();
        const std::int32_t bisher = p.leistung->Sekunden();
        const std::int32_t leerlauf = session_.LeerlaufAuftrag().Sekunden();
        std::int32_t neu = 0;
        if (random_() % 6 != 0) {
            const std::int32_t weniger = std::min(bisher - 1, 120);
            const std::int32_t mehr = std::max(0, std::min(leerlauf, 120));
            neu = bisher - weniger +
                  static_cast<std::int32_t>(random_() % static_cast<unsigned>(weniger + mehr + 1));
        }
        const std::int32_t anderer =
            random_() % 4 == 0 ? kOfficeOrders[random_() % std::size(kOfficeOrders)] : 0;
        platform_.frmLeistung().answer({outcome::kGeaendert, neu, anderer});
        QString auftragKey = p.auftrag->Key();
        QString leistungKey = p.leistung->Key();
        session_.LeistungBearbeiten(auftragKey, leistungKey);
    }

    void remove() {
        const std::vector<Picked> picked = pickStopped(1);
        if (picked.empty()) {
            return;
        }
        QString auftragKey = picked.front().auftrag->Key();
        QString leistungKey = picked.front().leistung->Key();
        session_.LeistungLoeschen(auftragKey, leistungKey);
    }

    // Releases a few entries, each named by a text line of its own, and books them.
    void book(bool summed) {
        const std::vector<Picked> picked = pickStopped(summed ? 4 : 3);
        if (picked.empty()) {
            return;
        }
        for (const Picked& p : picked) {
            const QString tag = entryTag(p.leistung->Id());
            bool tagged = false;
            for (const auto& line : p.leistung->Texte()) {
                tagged = tagged || line->Text() == tag;
            }
            if (!tagged) {
                p.leistung->TextHinzufuegen(0, tag);
            }
            QString auftragKey = p.auftrag->Key();
            QString leistungKey = p.leistung->Key();
            if (session_.LeistungFreigeben(auftragKey, leistungKey)) {
                log_.line(QStringLiteral("K %1 %2 %3")
                              .arg(p.leistung->Id())
                              .arg(p.auftrag->Id())
                              .arg(p.leistung->Sekunden()));
            }
        }
        if (summed) {
            session_.SammelBuchen();
        } else {
            session_.EinzelBuchen();
        }
    }

    db::Database& database_;
    FakePlatform& platform_;
    CStoppUhren& session_;
    std::int32_t employee_;
    std::mt19937_64 random_;
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
    Workload workload(database, platform, session, args.at(2).toInt(), args.at(3).toULongLong(),
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
