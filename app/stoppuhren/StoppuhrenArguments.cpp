#include "stoppuhren/StoppuhrenArguments.h"

namespace orv::stoppuhren {
namespace {

ParsedStoppuhrenArguments failure(QString message) {
    return {std::nullopt, std::move(message)};
}

QString quoted(const QString& text) {
    return QStringLiteral("„%1“").arg(text);
}

// A positive id, or 0 with the error set.
std::int32_t positiveId(const QString& option, const QString& text, QString& error) {
    bool ok = false;
    const int id = text.toInt(&ok);
    if (!ok || id <= 0) {
        error = QStringLiteral(
                    "%1 ist für %2 keine gültige Id (erwartet wird eine ganze Zahl "
                    "größer als 0).")
                    .arg(quoted(text), option);
        return 0;
    }
    return id;
}

}  // namespace

QString stoppuhrenUsage() {
    return QStringLiteral(
        "orv-stoppuhren – die Stoppuhren der Zeiterfassung für einen Mitarbeiter\n"
        "\n"
        "Aufruf:\n"
        "  orv-stoppuhren [--ziel <ziel>] [--mitarbeiter <id>] [--mandant <id>]\n"
        "  orv-stoppuhren --vorfuehrung <ordner> [--ziel <ziel>] [--mitarbeiter <id>]\n"
        "\n"
        "  --ziel         die Kanzleidatenbank: eine SQLite-Datei (sqlite:PFAD oder ein Pfad auf\n"
        "                 .sqlite oder .db) oder PostgreSQL (postgresql://… oder\n"
        "                 postgres:VERBINDUNG); ohne Angabe die Demodatenbank\n"
        "  --mitarbeiter  der angemeldete Mitarbeiter; ohne Angabe fragt ein Anmeldefenster\n"
        "  --mandant      ein Mandant, den neue Aufträge vorgeschlagen bekommen\n"
        "  --vorfuehrung  zeigt ohne Bildschirm einen kurzen Ablauf, legt Bildschirmfotos beider\n"
        "                 Registerkarten im Ordner ab und nennt die Summen des Tages\n"
        "\n"
        "Beendet wird das Programm über sein Menü „Stoppuhren beenden“; das Schließfeld des\n"
        "Stoppuhren-Fensters legt das Fenster nur ab.\n");
}

ParsedStoppuhrenArguments parseStoppuhrenArguments(const QStringList& arguments,
                                                   const QString& defaultTarget) {
    StoppuhrenCall call;
    call.targetText = defaultTarget;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments.at(i);
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            call.help = true;
            return {call, {}};
        }
        const bool takesValue =
            option == QLatin1String("--ziel") || option == QLatin1String("--mitarbeiter") ||
            option == QLatin1String("--mandant") || option == QLatin1String("--vorfuehrung");
        if (!takesValue) {
            return failure(QStringLiteral("Unbekannte Angabe %1.").arg(quoted(option)));
        }
        if (i + 1 >= arguments.size() || arguments.at(i + 1).trimmed().isEmpty()) {
            return failure(QStringLiteral("Zu %1 fehlt der Wert.").arg(option));
        }
        const QString value = arguments.at(++i);
        QString error;
        if (option == QLatin1String("--ziel")) {
            call.targetText = value;
        } else if (option == QLatin1String("--mitarbeiter")) {
            call.employeeId = positiveId(option, value, error);
        } else if (option == QLatin1String("--mandant")) {
            call.clientId = positiveId(option, value, error);
        } else {
            call.demoFolder = value;
        }
        if (!error.isEmpty()) {
            return failure(error);
        }
    }
    const std::optional<db::DbTarget> target = db::DbTarget::parse(call.targetText);
    if (!target) {
        return failure(QStringLiteral("%1 ist kein gültiges Ziel. Erwartet: sqlite:PFAD, ein Pfad "
                                      "auf .sqlite oder .db, postgresql://… oder "
                                      "postgres:VERBINDUNG.")
                           .arg(quoted(call.targetText)));
    }
    call.target = *target;
    return {call, {}};
}

}  // namespace orv::stoppuhren
