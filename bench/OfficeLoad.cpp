// A whole office on one PostgreSQL server: one session per employee, each on its own thread and
// connection, through a simulated working week; afterwards every employee's seconds are checked
// in the database. Prints switches per second and the switch latency; exits non-zero when the
// check fails or the component reported an error.

#include "BenchDatabases.h"
#include "load/AccountingCheck.h"
#include "load/LoadOffice.h"
#include "load/LoadOptions.h"
#include "load/OfficeRun.h"

#include "session/diagnostics/OrvError.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

namespace {

using namespace orv::load;

void print(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The value below which the given share of the samples lies.
double percentile(std::vector<float>& samples, double share) {
    if (samples.empty()) {
        return 0;
    }
    const auto n = static_cast<std::size_t>(share * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(n),
                     samples.end());
    return samples[n];
}

// What went wrong, without the time and the employee: the command, and the database's error
// line when there is one.
QString problemKind(const QString& problem) {
    const QStringList lines = problem.split(QLatin1Char('\n'));
    QString kind = lines.front().section(QLatin1Char(' '), 1).left(100);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("ERROR:"))) {
            kind = kind.section(QLatin1Char(':'), 0, 0) + QStringLiteral(": ") + line;
            break;
        }
    }
    return kind;
}

QString ms(double micros) {
    return QString::number(micros / 1000.0, 'f', 2) + QStringLiteral(" ms");
}

int run(const LoadOptions& options) {
    const auto t0 = std::chrono::steady_clock::now();
    auto database = orv::bench::BenchDatabase::createOnServer(options.server);
    if (options.keepSchema) {
        database->keepSchema();
    }
    const LoadOffice office =
        prepareLoadOffice(database->database(), options.run.sessions, options.run.orders);
    const double setup =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    print(QStringLiteral("Büro: %1 Sitzungen, %2 Tage, Seed %3, Tempo %4, Takt %5 s, %6 Aufträge,"
                         " Schema %7 (Einrichtung %8 s)")
              .arg(options.run.sessions)
              .arg(options.run.days)
              .arg(options.run.seed)
              .arg(options.run.tempo)
              .arg(options.run.takt)
              .arg(options.run.orders)
              .arg(QString::fromStdString(database->schema()))
              .arg(setup, 0, 'f', 1));

    const RunReport report = runOffice(database->database(), office, options.run);

    std::vector<float> latencies;
    EmployeeResult total;
    std::map<std::int32_t, std::int64_t> expected;
    QStringList problems;
    double lag = 0;
    for (const EmployeeResult& e : report.employees) {
        latencies.insert(latencies.end(), e.switchMicros.begin(), e.switchMicros.end());
        total.ticks += e.ticks;
        total.switches += e.switches;
        total.newOrders += e.newOrders;
        total.finished += e.finished;
        total.edits += e.edits;
        total.rebookings += e.rebookings;
        total.bookings += e.bookings;
        total.deletions += e.deletions;
        total.manualEntries += e.manualEntries;
        total.pauses += e.pauses;
        total.daysClosed += e.daysClosed;
        expected[e.employee] = e.expectedSeconds;
        lag = std::max(lag, e.maxLagSeconds);
        for (const QString& p : e.problems) {
            problems.append(QStringLiteral("Mitarbeiter %1, %2").arg(e.employee).arg(p));
        }
    }
    print(QStringLiteral("Lauf: %1 s Wandzeit, größter Rückstand gegenüber dem Tempo %2 s")
              .arg(report.wallSeconds, 0, 'f', 1)
              .arg(lag, 0, 'f', 1));
    print(QStringLiteral("Umschaltungen: %1 (%2 je Sekunde), Latenz p50 %3, p99 %4")
              .arg(total.switches)
              .arg(static_cast<double>(total.switches) / report.wallSeconds, 0, 'f', 1)
              .arg(ms(percentile(latencies, 0.5)), ms(percentile(latencies, 0.99))));
    print(QStringLiteral("Befehle: %1 neue Aufträge, %2 beendet, %3 bearbeitet, %4 umgebucht,"
                         " %5 Buchungen, %6 gelöscht, %7 manuell, %8 Pausen, %9 Takte")
              .arg(total.newOrders)
              .arg(total.finished)
              .arg(total.edits)
              .arg(total.rebookings)
              .arg(total.bookings)
              .arg(total.deletions)
              .arg(total.manualEntries)
              .arg(total.pauses)
              .arg(total.ticks));
    print(QStringLiteral("Tagesabschlüsse: %1 von %2")
              .arg(total.daysClosed)
              .arg(static_cast<qsizetype>(report.employees.size()) * options.run.days));

    const CheckResult check = checkAccounting(database->database(), expected);
    std::int64_t seconds = 0;
    int minimum = 0;
    int exact = 0;
    for (const auto& [employee, a] : check.accounts) {
        seconds += a.expected;
        minimum += a.minimumServices;
        exact += a.minimumServices == 0 ? 1 : 0;
    }
    print(QStringLiteral("Prüfung: %1 Mitarbeiter, %2 s Arbeitszeit; %3 exakt geprüft, %4 "
                         "Mindestleistungen (je 0 bis 36 s)")
              .arg(check.accounts.size())
              .arg(seconds)
              .arg(exact)
              .arg(minimum));
    for (qsizetype i = 0; i < check.failures.size() && i < 20; ++i) {
        print(QStringLiteral("  FEHLER ") + check.failures[i]);
    }
    std::map<QString, int> kinds;
    for (const QString& problem : problems) {
        ++kinds[problemKind(problem)];
    }
    for (const auto& [kind, count] : kinds) {
        print(QStringLiteral("  GEMELDET %1x %2").arg(count).arg(kind));
    }
    for (qsizetype i = 0; i < problems.size() && i < 5; ++i) {
        print(QStringLiteral("  z. B. ") + problems[i]);
    }
    if (problems.size() > 20 || check.failures.size() > 20) {
        print(QStringLiteral("  ... insgesamt %1 Abweichungen, %2 Meldungen")
                  .arg(check.failures.size())
                  .arg(problems.size()));
    }
    const bool ok = check.ok() && problems.isEmpty();
    print(ok ? QStringLiteral("Ergebnis: bestanden")
             : QStringLiteral("Ergebnis: NICHT bestanden (%1 Abweichungen, %2 Meldungen)")
                   .arg(check.failures.size())
                   .arg(problems.size()));
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Local dates are converted on every row; without TZ the C library looks the zone up each time.
    if (std::getenv("TZ") == nullptr) {
        setenv("TZ", "Europe/Berlin", 1);
    }
    QCoreApplication app(argc, argv);
    LoadOptions options;
    QString error;
    if (!parseLoadOptions(QCoreApplication::arguments().mid(1), options, error)) {
        print(error);
        print(loadUsage());
        return 2;
    }
    if (options.help) {
        print(loadUsage());
        return 0;
    }
    try {
        return run(options);
    } catch (const orv::OrvError& e) {
        print(QStringLiteral("Fehler: %1").arg(e.description()));
    } catch (const std::exception& e) {
        print(QStringLiteral("Fehler: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return 1;
}
