#include "LoadOptions.h"

#include <functional>
#include <map>

namespace orv::load {
namespace {

bool readNumber(const QString& text, double low, double& out) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < low) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

QString loadUsage() {
    return QStringLiteral(
        "Aufruf: orv_office_load [Optionen]\n"
        "Simuliert ein Büro: jede Sitzung ist ein Mitarbeiter mit eigenem Thread und eigener\n"
        "Datenbankverbindung, der eine Arbeitswoche lang seine Stoppuhren bedient. Danach wird\n"
        "für jeden Mitarbeiter geprüft, dass keine Sekunde verloren ging oder doppelt zählt.\n"
        "\n"
        "  --server CONNINFO   PostgreSQL-Server (libpq); sonst ORV_LOAD_PG oder ORV_TEST_PG\n"
        "  --sitzungen N       gleichzeitige Sitzungen (Vorgabe 200)\n"
        "  --tage N            simulierte Arbeitstage ab Montag, 16.03.2026 (Vorgabe 5)\n"
        "  --seed N            Startwert des Zufalls (Vorgabe 1)\n"
        "  --tempo X           simulierte Sekunden je echter Sekunde, 0 = so schnell wie\n"
        "                      möglich (Vorgabe 600)\n"
        "  --takt S            simulierte Sekunden zwischen zwei Uhrtakten (Vorgabe 10)\n"
        "  --auftraege N       Büroaufträge, auf die gebucht wird (Vorgabe 40)\n"
        "  --behalten          das Schema des Laufs auf dem Server stehen lassen\n"
        "\n"
        "Rückgabewert: 0 Prüfung bestanden, 1 Prüfung fehlgeschlagen oder Fehler gemeldet,\n"
        "2 falsche Argumente oder kein Server.\n");
}

bool parseLoadOptions(const QStringList& arguments, LoadOptions& options, QString& error) {
    double number = 0;
    const auto whole = [&](int& target, double low) {
        return [&target, &number, low](const QString& value) {
            if (!readNumber(value, low, number) || number != static_cast<int>(number)) {
                return false;
            }
            target = static_cast<int>(number);
            return true;
        };
    };
    const std::map<QString, std::function<bool(const QString&)>> valued = {
        {QStringLiteral("--server"),
         [&](const QString& value) {
             options.server = value;
             return !value.isEmpty();
         }},
        {QStringLiteral("--sitzungen"), whole(options.run.sessions, 1)},
        {QStringLiteral("--tage"), whole(options.run.days, 1)},
        {QStringLiteral("--takt"), whole(options.run.takt, 1)},
        {QStringLiteral("--auftraege"), whole(options.run.orders, 1)},
        {QStringLiteral("--seed"),
         [&](const QString& value) {
             bool ok = false;
             options.run.seed = value.toULongLong(&ok);
             return ok;
         }},
        {QStringLiteral("--tempo"),
         [&](const QString& value) { return readNumber(value, 0, options.run.tempo); }},
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            return true;
        }
        if (argument == QLatin1String("--behalten")) {
            options.keepSchema = true;
            continue;
        }
        const auto it = valued.find(argument);
        if (it == valued.end()) {
            error = QStringLiteral("Unbekanntes Argument: %1").arg(argument);
            return false;
        }
        if (i + 1 >= arguments.size() || !it->second(arguments[i + 1])) {
            error = QStringLiteral("%1 braucht einen gültigen Wert.").arg(argument);
            return false;
        }
        ++i;
    }
    if (options.server.isEmpty()) {
        options.server = qEnvironmentVariable("ORV_LOAD_PG");
    }
    if (options.server.isEmpty()) {
        options.server = qEnvironmentVariable("ORV_TEST_PG");
    }
    if (options.server.isEmpty()) {
        error = QStringLiteral(
            "Kein PostgreSQL-Server angegeben: --server CONNINFO oder ORV_LOAD_PG setzen.");
        return false;
    }
    return true;
}

}  // namespace orv::load
