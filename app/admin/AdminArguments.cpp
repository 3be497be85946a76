#include "admin/AdminArguments.h"

namespace orv::admin {
namespace {

constexpr auto kOverwriteFlag = "--ueberschreiben";

struct CommandSpec {
    const char* name;
    AdminCommand command;
};

constexpr CommandSpec kCommands[] = {
    {"migrate", AdminCommand::Migrate}, {"demo", AdminCommand::Demo},
    {"zeige", AdminCommand::Show},      {"uebersicht", AdminCommand::Overview},
    {"neu", AdminCommand::Recreate},
};

ParsedArguments failure(QString message) {
    return ParsedArguments{std::nullopt, std::move(message)};
}

QString quoted(const QString& text) {
    return QStringLiteral("„%1“").arg(text);
}

}  // namespace

QString adminUsage() {
    return QStringLiteral(
        "orv-admin – Verwaltung der Kanzleidatenbank der Zeiterfassung\n"
        "\n"
        "Aufruf:\n"
        "  orv-admin migrate <ziel>                  legt das Schema an oder bringt es auf den\n"
        "                                            neuesten Stand (alte und neue Version)\n"
        "  orv-admin demo <ziel>                     wie migrate, dann die Demodaten laden\n"
        "  orv-admin zeige <ziel> <mitarbeiter-id>   die vorläufigen Zeilen eines Mitarbeiters\n"
        "                                            mit ihren Textzeilen\n"
        "  orv-admin uebersicht <ziel>               Mitarbeiter, Mandanten und Aufträge\n"
        "  orv-admin neu <ziel> --ueberschreiben     löscht die SQLite-Datei und legt sie leer\n"
        "                                            neu an (nur so wird je etwas gelöscht)\n"
        "  orv-admin --help                          diese Hilfe\n"
        "\n"
        "<ziel> ist eine SQLite-Datei (sqlite:PFAD oder ein Pfad auf .sqlite oder .db) oder eine\n"
        "PostgreSQL-Datenbank (postgresql://benutzer@host/datenbank oder postgres:VERBINDUNG,\n"
        "z. B. \"postgres:host=/tmp port=5432 dbname=kanzlei\").\n"
        "\n"
        "Rückgabewert: 0 bei Erfolg, 1 wenn die Datenbank nicht erreichbar ist oder ablehnt,\n"
        "2 bei falschen Argumenten (dann bleibt alles unberührt).\n");
}

ParsedArguments parseAdminArguments(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return failure(QStringLiteral("Kein Befehl angegeben."));
    }
    const QString& name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("hilfe")) {
        return ParsedArguments{AdminCall{}, {}};
    }

    AdminCall call;
    bool known = false;
    for (const CommandSpec& spec : kCommands) {
        if (name == QLatin1String(spec.name)) {
            call.command = spec.command;
            known = true;
        }
    }
    if (!known) {
        return failure(QStringLiteral("Unbekannter Befehl %1.").arg(quoted(name)));
    }

    bool overwrite = false;
    QStringList positional;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String(kOverwriteFlag) && call.command == AdminCommand::Recreate) {
            overwrite = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return failure(
                QStringLiteral("Unbekannte Option %1 für %2.").arg(quoted(argument), quoted(name)));
        } else {
            positional.append(argument);
        }
    }

    if (positional.isEmpty() || positional.first().trimmed().isEmpty()) {
        return failure(QStringLiteral("Dem Befehl %1 fehlt das Ziel (eine SQLite-Datei oder eine "
                                      "PostgreSQL-Verbindung).")
                           .arg(quoted(name)));
    }
    call.targetText = positional.takeFirst();
    const std::optional<db::DbTarget> target = db::DbTarget::parse(call.targetText);
    if (!target) {
        return failure(
            QStringLiteral("%1 ist kein gültiges Ziel. Erwartet: sqlite:PFAD, ein Pfad "
                           "auf .sqlite oder .db, postgresql://… oder postgres:VERBINDUNG.")
                .arg(quoted(call.targetText)));
    }
    call.target = *target;

    if (call.command == AdminCommand::Show) {
        if (positional.isEmpty()) {
            return failure(
                QStringLiteral("Dem Befehl %1 fehlt die Mitarbeiter-Id.").arg(quoted(name)));
        }
        const QString idText = positional.takeFirst();
        bool ok = false;
        const int id = idText.toInt(&ok);
        if (!ok || id <= 0) {
            return failure(QStringLiteral("%1 ist keine gültige Mitarbeiter-Id (erwartet wird eine "
                                          "ganze Zahl größer als 0).")
                               .arg(quoted(idText)));
        }
        call.employeeId = id;
    }

    if (!positional.isEmpty()) {
        return failure(QStringLiteral("Zu viele Argumente für %1: %2.")
                           .arg(quoted(name), positional.join(QLatin1Char(' '))));
    }

    if (call.command == AdminCommand::Recreate) {
        if (call.target.backend != db::Backend::Sqlite) {
            return failure(QStringLiteral("%1 gibt es nur für SQLite-Dateien; eine "
                                          "PostgreSQL-Datenbank löscht orv-admin nie.")
                               .arg(quoted(name)));
        }
        if (!overwrite) {
            return failure(QStringLiteral("%1 löscht die Datei %2 mit allen Daten darin. Wenn das "
                                          "gewollt ist: orv-admin neu %3 %4")
                               .arg(quoted(name), quoted(call.target.sqlitePath), call.targetText,
                                    QLatin1String(kOverwriteFlag)));
        }
    }
    return ParsedArguments{call, {}};
}

}  // namespace orv::admin
