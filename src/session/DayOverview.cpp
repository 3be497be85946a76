#include "session/DayOverview.h"

#include "model/CAuftrag.h"
#include "persistence/QueryRows.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace orv {
namespace {

// A stretch written at a stop holds the seconds between its begin and end (pauses aside); the
// clock's ticks and the stop may part by a second.
constexpr std::int64_t kToleranz = 2;

// The columns of an order that both the provisional rows' view and the services' join carry.
QString auftragsSpalten(const char* person, const char* auftrag, const char* angelegenheit) {
    return QStringLiteral(
               "%1.Ps_Nr, %1.Ps_Kurzname, %2.dlAuftragArtNr, %2.dlAngelegenheitNr, "
               "%3.dcAngelegenheit, %2.dlJahr, %2.diMonat")
        .arg(QLatin1String(person), QLatin1String(auftrag), QLatin1String(angelegenheit));
}

struct Zeile {
    QString gruppe;  // what joins an entry and a service into one order
    AuftragsSumme auftrag;
    TagesPosten posten;
};

AuftragsSumme auftragAusZeile(const db::DbService& row, std::int32_t auftragId) {
    AuftragsSumme summe;
    summe.auftragId = std::max(auftragId, 0);
    if (auftragId <= 0) {
        summe.auftrag = kOhneAuftragText;
        return summe;
    }
    if (const std::int32_t nummer = row.FieldLong("Ps_Nr"); nummer > 0) {
        summe.mandant = QString::number(nummer) + QLatin1Char(' ') + row.FieldText("Ps_Kurzname");
    }
    summe.auftrag = QString::number(row.FieldLong("dlAuftragArtNr")) + QLatin1Char('/') +
                    QString::number(row.FieldLong("dlAngelegenheitNr")) + QLatin1Char(' ') +
                    row.FieldText("dcAngelegenheit") + QLatin1Char(' ') +
                    rt::format00(row.FieldLong("diMonat")) + QLatin1Char('/') +
                    rt::format0000(row.FieldLong("dlJahr"));
    return summe;
}

// A service's hours in ten-thousandths, as the office keeps them, back to seconds: exact for
// every service of 36 seconds or more.
std::int64_t sekundenAusStunden(const QString& stunden) {
    const qint64 zehntausendstel = qRound64(stunden.toDouble() * 10000.0);
    return (zehntausendstel * 36 + 50) / 100;
}

std::vector<TagesBand> baenderLesen(db::Database& database, std::int32_t mitarbeiter,
                                    const QDateTime& tagBeginn, const QDateTime& tagEnde,
                                    const QDateTime& jetzt) {
    const db::Params params{std::int64_t{mitarbeiter}, tagBeginn, tagEnde};
    const auto band = [&](TagesBand::Art art, const db::DbService& row) {
        TagesBand b;
        b.art = art;
        b.beginn = std::max(row.FieldDate("von"), tagBeginn);
        const QDateTime bis = row.FieldDate("bis");
        b.offen = !bis.isValid();
        b.ende = std::min(b.offen ? std::max(jetzt, b.beginn) : bis, tagEnde);
        return b;
    };
    std::vector<TagesBand> baender = db::queryRows(
        database,
        QStringLiteral("SELECT LeistungserfassungAnmeldung AS von, LeistungserfassungAbmeldung "
                       "AS bis, LoginArt FROM tLeistungZeiterfassungLogins WHERE Ps_Id = $1 "
                       "AND LeistungserfassungAnmeldung < $3 AND (LeistungserfassungAbmeldung "
                       "IS NULL OR LeistungserfassungAbmeldung >= $2) "
                       "ORDER BY LeistungserfassungAnmeldung, idLeistungZeiterfassungLogin"),
        params, [&](db::DbService& row) {
            return band(row.FieldLong("LoginArt") == 1 ? TagesBand::Art::ExterneZeit
                                                       : TagesBand::Art::Anmeldung,
                        row);
        });
    const std::vector<TagesBand> pausen = db::queryRows(
        database,
        QStringLiteral("SELECT PauseVon AS von, PauseBis AS bis FROM tLeistungZeiterfassungPausen "
                       "WHERE Ps_id = $1 AND PauseVon < $3 AND (PauseBis IS NULL OR PauseBis >= "
                       "$2) ORDER BY PauseVon, idLeistungZeiterfassungPause"),
        params, [&](db::DbService& row) { return band(TagesBand::Art::Pause, row); });
    baender.insert(baender.end(), pausen.begin(), pausen.end());
    return baender;
}

std::vector<Zeile> vorlaeufigeLesen(db::Database& database, std::int32_t mitarbeiter) {
    return db::queryRows(
        database,
        QStringLiteral("SELECT VorgangParentId, VorgangParentKey, idAuftrag, Sekunden, Beginn, "
                       "Ende, %1 FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung v "
                       "WHERE ps_id = $1 AND VorgangParentId > 0 ORDER BY idLeistungZeiterfassung")
            .arg(auftragsSpalten("v", "v", "v")),
        db::Params{std::int64_t{mitarbeiter}}, [](db::DbService& row) {
            Zeile z;
            const std::int32_t auftragId = row.FieldLong("idAuftrag");
            const bool leerlauf = row.FieldText("VorgangParentKey") == CAuftrag::LeerlaufKey();
            z.posten.art = leerlauf ? TagesPosten::Art::Leerlauf : TagesPosten::Art::Leistung;
            z.posten.sekunden = row.FieldLong("Sekunden");
            // The idle entry collects the whole day; its begin and end are those of its latest
            // stretch and say nothing about its seconds.
            if (leerlauf) {
                return z;
            }
            z.posten.beginn = row.FieldDate("Beginn");
            z.posten.ende = row.FieldDate("Ende");
            {
                z.gruppe = auftragId > 0
                               ? QStringLiteral("a%1").arg(auftragId)
                               : QStringLiteral("v%1").arg(row.FieldLong("VorgangParentId"));
                z.auftrag = auftragAusZeile(row, auftragId);
            }
            return z;
        });
}

// A service is of the day by its date; one without a date (an entry without a begin) by when
// it was booked.
std::vector<Zeile> gebuchteLesen(db::Database& database, std::int32_t mitarbeiter,
                                 const QDateTime& tagBeginn, const QDateTime& tagEnde,
                                 std::int32_t leerlaufAuftrag) {
    return db::queryRows(
        database,
        QStringLiteral("SELECT l.flAuftrag, l.dmAnzahl, l.dtBeginn, l.dtEnde, %1 FROM tLeistung l "
                       "LEFT JOIN tAuftrag a ON a.idAuftrag = l.flAuftrag "
                       "LEFT JOIN tPersonStamm p ON p.Ps_Id = a.flMandant "
                       "LEFT JOIN tAngelegenheit ang ON ang.idAngelegenheit = a.flAngelegenheit "
                       "WHERE l.flMitarbeiter = $1 AND ((l.dtDatum >= $2 AND l.dtDatum < $3) OR "
                       "(l.dtDatum IS NULL AND l.dtAngelegt >= $2 AND l.dtAngelegt < $3)) "
                       "ORDER BY l.idLeistung")
            .arg(auftragsSpalten("p", "a", "ang")),
        db::Params{std::int64_t{mitarbeiter}, tagBeginn, tagEnde}, [&](db::DbService& row) {
            Zeile z;
            const std::int32_t auftragId = row.FieldLong("flAuftrag");
            // The day closing books the idle time on the office's idle order.
            const bool leerlauf = leerlaufAuftrag > 0 && auftragId == leerlaufAuftrag;
            z.posten.art = leerlauf ? TagesPosten::Art::LeerlaufGebucht : TagesPosten::Art::Gebucht;
            z.posten.sekunden = sekundenAusStunden(row.FieldText("dmAnzahl"));
            z.posten.beginn = row.FieldDate("dtBeginn");
            z.posten.ende = row.FieldDate("dtEnde");
            if (!leerlauf) {
                z.gruppe = QStringLiteral("a%1").arg(auftragId);
                z.auftrag = auftragAusZeile(row, auftragId);
            }
            return z;
        });
}

std::int64_t pausenZwischen(const std::vector<TagesBand>& baender, const QDateTime& von,
                            const QDateTime& bis) {
    std::int64_t summe = 0;
    for (const TagesBand& b : baender) {
        if (b.art == TagesBand::Art::Pause) {
            summe += std::max<std::int64_t>(
                0, rt::secondsBetween(std::max(b.beginn, von), std::min(b.ende, bis)));
        }
    }
    return summe;
}

// Entries keep their begin and end; a stretch interrupted by a pause holds the time around it.
// An edited entry, a summed service or one still counting holds seconds that do not fill its
// begin and end: it stands from its begin for its seconds, marked as an estimate. Without a
// begin it counts in the totals only.
void platzieren(TagesPosten& p, const std::vector<TagesBand>& baender, const QDateTime& jetzt) {
    if (!p.beginn.isValid()) {
        return;
    }
    const QDateTime ende = p.ende.isValid() ? p.ende : jetzt;
    const std::int64_t gefuellt =
        rt::secondsBetween(p.beginn, ende) - pausenZwischen(baender, p.beginn, ende);
    p.von = p.beginn;
    p.geschaetzt = std::abs(gefuellt - p.sekunden) > kToleranz;
    p.bis = p.geschaetzt ? p.beginn.addSecs(p.sekunden) : ende;
}

}  // namespace

std::int64_t Tagesuebersicht::produktiv() const {
    return std::accumulate(auftraege.begin(), auftraege.end(), std::int64_t{0},
                           [](std::int64_t s, const AuftragsSumme& a) { return s + a.sekunden(); });
}

Tagesuebersicht TagesuebersichtLesen(CStoppUhren& session, const QDate& tag) {
    Procedure p(session.trace(), "TagesuebersichtLesen");
    return p.run([&] {
        db::Database& database = session.platform().officeDatabase();
        const std::int32_t mitarbeiter = session.MitarbeiterId();
        const QDateTime tagBeginn(tag, QTime(0, 0));
        const QDateTime tagEnde(tag.addDays(1), QTime(0, 0));
        Tagesuebersicht t;
        t.tag = tag;
        t.stand = session.platform().clock().now();
        t.baender = baenderLesen(database, mitarbeiter, tagBeginn, tagEnde, t.stand);
        std::vector<Zeile> zeilen = vorlaeufigeLesen(database, mitarbeiter);
        std::vector<Zeile> gebucht = gebuchteLesen(database, mitarbeiter, tagBeginn, tagEnde,
                                                   session.LeerlaufBuchungsAuftrag());
        zeilen.insert(zeilen.end(), std::make_move_iterator(gebucht.begin()),
                      std::make_move_iterator(gebucht.end()));

        // Orders by their first begin; those without any begin after them.
        const auto frueher = [](const QDateTime& a, const QDateTime& b) {
            return a.isValid() && (!b.isValid() || a < b);
        };
        QHash<QString, QDateTime> erster;
        for (const Zeile& z : zeilen) {
            if (!z.gruppe.isEmpty() &&
                (!erster.contains(z.gruppe) || frueher(z.posten.beginn, erster.value(z.gruppe)))) {
                erster.insert(z.gruppe, z.posten.beginn);
            }
        }
        const QList<QString> schluessel = erster.keys();
        std::vector<QString> gruppen(schluessel.begin(), schluessel.end());
        std::sort(gruppen.begin(), gruppen.end(), [&](const QString& a, const QString& b) {
            const QDateTime& ea = erster.value(a);
            const QDateTime& eb = erster.value(b);
            return ea == eb ? a < b : frueher(ea, eb);
        });
        QHash<QString, int> index;
        for (const QString& g : gruppen) {
            index.insert(g, static_cast<int>(index.size()));
        }
        t.auftraege.resize(gruppen.size());
        for (Zeile& z : zeilen) {
            TagesPosten& posten = z.posten;
            if (z.gruppe.isEmpty()) {
                t.leerlauf += posten.sekunden;
            } else {
                posten.auftrag = index.value(z.gruppe);
                AuftragsSumme& summe = t.auftraege[static_cast<std::size_t>(posten.auftrag)];
                if (summe.auftrag.isEmpty()) {
                    summe = z.auftrag;
                }
                (posten.art == TagesPosten::Art::Gebucht ? summe.gebucht : summe.vorlaeufig) +=
                    posten.sekunden;
                // The idle time is what the productive blocks leave of the logins: its one
                // row spans the whole day and is not drawn.
                platzieren(posten, t.baender, t.stand);
            }
            t.posten.push_back(std::move(posten));
        }
        return t;
    });
}

}  // namespace orv
