#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace orv {

class CStoppUhren;

// Where an employee's day went, read from the rows the session wrote: logins, pauses and
// external time as bands; provisional entries, the idle time and the services booked that day
// as items with their order's totals. Plain data for the day overview window and its export.
struct TagesBand {
    enum class Art { Anmeldung, ExterneZeit, Pause };
    Art art = Art::Anmeldung;
    QDateTime beginn;
    QDateTime ende;  // an open login or pause ends now
    bool offen = false;
};

struct TagesPosten {
    enum class Art { Leistung, Gebucht, Leerlauf, LeerlaufGebucht };
    Art art = Art::Leistung;
    int auftrag = -1;  // index into Tagesuebersicht::auftraege; -1 for the idle time
    QDateTime beginn;  // as the row holds them; unset when the row has none
    QDateTime ende;
    std::int64_t sekunden = 0;
    // Where the item stands on the timeline (unset: nowhere) and whether that is an estimate.
    QDateTime von;
    QDateTime bis;
    bool geschaetzt = false;
};

struct AuftragsSumme {
    std::int32_t auftragId = 0;  // the office order; 0 without one
    QString mandant;             // "10001 Bäckerei Krume"; empty without an office order
    QString auftrag;             // "10/101 Steuerliche Beratung 02/2026"
    std::int64_t vorlaeufig = 0;
    std::int64_t gebucht = 0;
    std::int64_t sekunden() const { return vorlaeufig + gebucht; }
};

struct Tagesuebersicht {
    QDate tag;
    QDateTime stand;  // the clock's time when read
    std::vector<TagesBand> baender;
    std::vector<TagesPosten> posten;
    std::vector<AuftragsSumme> auftraege;  // by their first begin
    std::int64_t leerlauf = 0;

    std::int64_t produktiv() const;
    std::int64_t gesamt() const { return leerlauf + produktiv(); }
};

// Reads the session employee's day through the session's database. The provisional rows are
// all of them: they are the working day since the last day closing, as the stopwatch window
// counts them. Services count the seconds the office recorded (hours to four decimals, at
// least 0,01 hours).
Tagesuebersicht TagesuebersichtLesen(CStoppUhren& session, const QDate& tag);

// The text of an order as the rows name it, "kein Auftrag zugeordnet" without an office order.
inline const QString kOhneAuftragText = QStringLiteral("kein Auftrag zugeordnet");

}  // namespace orv
