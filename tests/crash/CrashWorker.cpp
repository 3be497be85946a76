// A session that a test kills: it drives the stopwatches of one employee on a settable clock
// with a workload drawn from a seed (ticks with their periodic save, and the office load tool's
// commands: switches, stops, edits, deletions, pauses, manual entries, single and summed
// booking) and writes its progress to its standard output. The kill plan names a kind of step (or
// "start" for Starten), inside whose next run of statements the statement hook stops the process
// with SIGKILL.
//
//   orv_crash_worker <target> <employee> <seed> <start yyyy-MM-ddTHH:mm:ss> <steps> [<kind>]
//
// One line per event, each written with one write, so that a kill never leaves half a line:
//
//   E <total> <saved>             Starten or a step ended: the session's seconds of all orders
//                                 (idle included) and those the database holds
//   K <entry> <order> <seconds>   an entry about to be booked: its row, its order's row
//   H <kind> <seconds>            the hook stops the process inside a step of this kind; the
//                                 seconds the clock advanced in it
//   X <text>                      the worker found a fault
//
// A booked entry is named in its service by a text line "#<entry row>".
#include "FakePlatform.h"
#include "TestQueries.h"
#include "Workload.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/procedures/OfficeCatalogue.h"
#include "persistence/Database.h"
#include "session/CStoppUhren.h"

#include <QCoreApplication>
#include <QLocale>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string_view>
#include <tuple>

namespace orv::test {
namespace {

// The office orders the employee works on; a new stopwatch takes one of them.
const std::vector<std::int32_t> kOfficeOrders = {5001, 5002, 5003, 5006, 5011};
// Fewer statements than any start runs: options, rights, clean-up, loading, login.
constexpr int kStatementsOfAStart = 30;

class CrashRun final : public load::WorkloadDesk {
public:
    CrashRun(db::Database& database, FakePlatform& platform, CStoppUhren& session,
             std::int32_t employee, std::uint64_t seed, QString killKind)
        : database_(database),
          platform_(platform),
          session_(session),
          employee_(employee),
          random_(seed),
          workload_(session, *this, random_, kOfficeOrders),
          killKind_(std::move(killKind)) {
        workload_.onRelease([this](const CAuftrag& auftrag, cLeistung& leistung) {
            // Released again after a booking the kill cut, it is named twice.
            leistung.TextHinzufuegen(0, QStringLiteral("#%1").arg(leistung.Id()));
            line("K", {leistung.Id(), auftrag.Id(), leistung.Sekunden()});
        });
    }

    // Starten loads what the database holds, asks nothing (after a kill the session knows what
    // was counted: a question about a gap to add would count time twice, and the employee
    // would answer it with yes), and its productive seconds are its orders'.
    bool start() {
        const std::int32_t held = saved();
        if (killKind_ == QLatin1String("start")) {
            killAt(1 + static_cast<int>(random_() % kStatementsOfAStart));
        }
        std::int32_t employee = employee_;
        const bool started = session_.Starten(employee);
        database_.faults().clear();
        ended(QStringLiteral("X Starten"));
        for (const AskedBox& box : platform_.messageBoxes().asked()) {
            line("X Frage beim Start: " + box.text.simplified());
        }
        const std::int32_t productive = total_ - session_.LeerlaufAuftrag().Sekunden();
        if (started && (total_ != held || session_.AuftragsSekunden() != productive)) {
            line("X Starten lädt (geladen, gehalten, produktiv, Aufträge)",
                 {total_, held, session_.AuftragsSekunden(), productive});
        }
        return started;
    }

    // One step of a kind drawn below its bound out of 100.
    void step(int step) {
        const std::tuple<int, const char*, std::function<void()>> kinds[] = {
            {68, "tick",
             [&] {
                 platform_.settableClock().advance(seconds_);
                 platform_.timer()->tick();
             }},
            // No order is finished: a finished order whose entries are all booked goes with
            // its seconds, which this count of seconds would have to follow.
            {78, "switch",
             [&] {
                 bool created = false;
                 if (workload_.uniform(1, 4) > 1 || !workload_.stop()) {
                     workload_.switchOrder(created);
                 }
             }},
            {84, "edit", [&] { workload_.edit(); }},
            {87, "delete", [&] { workload_.deleteEntry(); }},
            // Short pauses: a run that is never killed ends before the next run starts six
            // hours later, whose login would otherwise overlap its own.
            {88, "pause", [&] { workload_.pause(workload_.uniform(60, 180)); }},
            {91, "manual", [&] { workload_.manualEntry(); }},
            {96, "single", [&] { workload_.book(false, false); }},
            {100, "summed", [&] { workload_.book(false, true); }}};
        const int draw = static_cast<int>(random_() % 100);
        const auto& [bound, kind, action] = *std::find_if(
            std::begin(kinds), std::end(kinds), [&](auto& k) { return draw < std::get<0>(k); });
        seconds_ = std::string_view(kind) == "tick" ? 1 + static_cast<int>(random_() % 3) : 0;
        const QString where = QStringLiteral("X Schritt %1 (%2)").arg(step).arg(kind);
        const int before = database_.faults().statementsSeen();
        if (killKind_ == QLatin1String(kind)) {
            // Somewhere inside the step, judged by the size of the last one of its kind (a
            // booking's, which runs statements once in many tries, the first time).
            killAt(1 + static_cast<int>(random_() % sizes_.try_emplace(kind, 16).first->second));
        }
        try {
            action();
        } catch (const std::exception& e) {
            line(where + ": " + QString::fromUtf8(e.what()));
        }
        database_.faults().clear();
        if (const int used = database_.faults().statementsSeen() - before; used > 0) {
            sizes_[kind] = used;
        }
        ended(where);
    }

    // The employee's answers go to the scripted windows; a pause lets the clock run on.
    void nextEdit(std::int32_t status, std::int32_t seconds, std::int32_t auftragId) override {
        platform_.frmLeistung().answer({status, seconds, auftragId});
    }
    void nextRebooking(cLeistung*, std::int32_t) override {}  // not in this workload
    void nextPause(std::int32_t seconds) override { platform_.frmPause().answer(seconds); }

private:
    // After Starten or a step: the session's error reports, what it counts (loaded plus ticked
    // seconds), and the E line.
    void ended(const QString& where) {
        for (; reports_ < platform_.errorReports().size(); ++reports_) {
            line(where + " meldet: " + platform_.errorReports()[reports_].description.simplified());
        }
        std::int32_t total = session_.LeerlaufAuftrag().Sekunden();
        for (const auto& auftrag : session_.Auftraege()) {
            total += auftrag->Sekunden();
        }
        if (where != QLatin1String("X Starten") && total != total_ + seconds_) {
            line(where + ": die Sitzung zählt (statt)", {total, total_ + seconds_});
        }
        total_ = total;
        line("E", {total, saved()});
    }
    // The seconds of all the employee's orders in the database.
    std::int32_t saved() {
        return tableText(database_,
                         "SELECT COALESCE(SUM(Sekunden), 0) AS s FROM tLeistungZeiterfassung"
                         " WHERE ps_id = $1 AND VorgangParentId = 0",
                         {"s"}, {std::int64_t{employee_}})
            .toInt();
    }
    void killAt(int statement) {
        database_.faults().atStatement(statement, [this] {
            line("H " + killKind_, {seconds_});
            std::raise(SIGKILL);
        });
    }
    void line(QString text, std::initializer_list<qint64> numbers = {}) {
        for (const qint64 number : numbers) {
            text += QLatin1Char(' ') + QString::number(number);
        }
        const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
        if (::write(STDOUT_FILENO, bytes.constData(), bytes.size()) != bytes.size()) {
            throw std::runtime_error("Das Fortschrittsprotokoll kann nicht geschrieben werden.");
        }
    }

    db::Database& database_;
    FakePlatform& platform_;
    CStoppUhren& session_;
    std::int32_t employee_;
    std::mt19937_64 random_;
    load::Workload workload_;
    const QString killKind_;
    int seconds_ = 0;         // the clock advances in the running step
    std::int32_t total_ = 0;  // the session's seconds at the end of the last step
    std::size_t reports_ = 0;
    std::map<QString, int> sizes_;  // statements of the last step of each kind
};

}  // namespace
}  // namespace orv::test

int main(int argc, char** argv) {
    using namespace orv;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    db::Database database(db::DbTarget::parse(args.value(1)).value(), &office::officeCatalogue());
    test::FakePlatform platform(database, test::Tracing::Off);
    platform.settableClock().set(QDateTime::fromString(args.at(4), Qt::ISODate));
    CStoppUhren session(platform);
    test::CrashRun run(database, platform, session, args.at(2).toInt(), args.at(3).toULongLong(),
                       args.value(6));
    if (!run.start()) {
        return 1;
    }
    for (int step = 1; step <= args.at(5).toInt(); ++step) {
        run.step(step);
    }
    return 0;
}
