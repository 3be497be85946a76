#include "admin/OfficeListing.h"

#include "admin/AdminFailure.h"
#include "admin/TextTable.h"
#include "persistence/DbService.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace orv::admin {
namespace {

using Align = TextTable::Align;

QString dateText(const QDateTime& value) {
    return value.isNull() ? QString() : value.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

// "12 Text", or only the text or only the number when the other is missing.
QString numbered(std::int32_t number, const QString& text) {
    if (number == 0) {
        return text;
    }
    return text.isEmpty() ? QString::number(number) : QStringLiteral("%1 %2").arg(number).arg(text);
}

QString periodText(std::int32_t year, std::int32_t month, std::int32_t runningNumber) {
    if (year == 0) {
        return {};
    }
    return QStringLiteral("%1/%2 lfd. %3")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(year)
        .arg(runningNumber);
}

QString matterText(const db::DbService& s, std::string_view numberColumn,
                   std::string_view textColumn, std::string_view codeColumn) {
    QString text = numbered(s.FieldLong(numberColumn), s.FieldText(textColumn));
    const std::int32_t code = s.FieldLong(codeColumn);
    if (code != 0) {
        text += QStringLiteral(" [GGW %1]").arg(code);
    }
    return text;
}

QString objectText(const db::DbService& s) {
    return numbered(s.FieldLong("dlObjektNr"), s.FieldText("dcAngelegenheitErweitert"));
}

std::int64_t countOf(db::DbService& s, const QString& sql) {
    s.OpenQuery(sql);
    const std::int64_t count = s.FieldLong("dlAnzahl");
    s.CloseQuery();
    return count;
}

QString cutNote(std::int64_t count, int shown) {
    return count > shown ? QStringLiteral("… und %1 weitere\n").arg(count - shown) : QString();
}

QString section(const QString& title, const TextTable& table, std::int64_t count) {
    QString out = title + QLatin1Char('\n');
    if (table.isEmpty()) {
        return out + QStringLiteral("(keine)\n");
    }
    return out + table.render() + cutNote(count, table.rowCount());
}

}  // namespace

QString statusText(std::int32_t status) {
    static const char* const kNames[] = {"inaktiv", "aktiv", "beendet", "gebucht", "gelöscht"};
    if (status >= 0 && status < 5) {
        return QStringLiteral("%1 %2").arg(status).arg(QString::fromUtf8(kNames[status]));
    }
    return QString::number(status);
}

QString durationText(std::int64_t seconds) {
    const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
    const std::int64_t total = seconds < 0 ? -seconds : seconds;
    return QStringLiteral("%1%2:%3:%4")
        .arg(sign)
        .arg(total / 3600)
        .arg((total / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

QString OfficeListing::provisionalRows(std::int32_t employeeId) {
    db::DbService s(database_);
    s.Open();
    const db::DbValue employee = std::int64_t{employeeId};

    QString who = QStringLiteral("Mitarbeiter %1").arg(employeeId);
    const bool known =
        s.OpenQuery(QStringLiteral("SELECT dlMitarbeiterNr, dcName FROM tMitarbeiter "
                                   "WHERE idMitarbeiter = $1"),
                    db::Params{employee}) > 0;
    if (known) {
        who += QStringLiteral(" (Nr. %1, %2)")
                   .arg(s.FieldLong("dlMitarbeiterNr"))
                   .arg(s.FieldText("dcName"));
    }
    s.CloseQuery();

    // The text lines of each row, by row id.
    std::map<std::int32_t, std::vector<std::pair<std::int32_t, QString>>> texts;
    int textCount = 0;
    if (s.OpenQuery(
            QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte "
                           "WHERE ps_id = $1 "
                           "ORDER BY idLeistungZeiterfassung, idLeistungZeiterfassungTexte"),
            db::Params{employee})) {
        do {
            texts[s.FieldLong("idLeistungZeiterfassung")].emplace_back(
                s.FieldLong("idLeistungZeiterfassungTexte"),
                s.FieldText("LeistungZeiterfassungText"));
            ++textCount;
        } while (s.Move());
    }
    s.CloseQuery();

    TextTable table({{QStringLiteral("Id"), Align::Right},
                     {QStringLiteral("Schlüssel")},
                     {QStringLiteral("Eltern-Id"), Align::Right},
                     {QStringLiteral("Eltern-Schlüssel")},
                     {QStringLiteral("Status")},
                     {QStringLiteral("Auftrag"), Align::Right},
                     {QStringLiteral("Mandant")},
                     {QStringLiteral("Auftragsart")},
                     {QStringLiteral("Angelegenheit")},
                     {QStringLiteral("Zeitraum")},
                     {QStringLiteral("Objekt")},
                     {QStringLiteral("Beginn")},
                     {QStringLiteral("Ende")},
                     {QStringLiteral("Sekunden"), Align::Right},
                     {QStringLiteral("Dauer"), Align::Right},
                     {QStringLiteral("Text1")},
                     {QStringLiteral("Text2")}});
    int orders = 0;
    int entries = 0;
    std::set<std::int32_t> shown;
    if (s.OpenQuery(QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung "
                                   "WHERE ps_id = $1 "
                                   "ORDER BY VorgangParentId ASC, idLeistungZeitErfassung ASC"),
                    db::Params{employee})) {
        do {
            const std::int32_t id = s.FieldLong("idLeistungZeitErfassung");
            const std::int32_t parent = s.FieldLong("VorgangParentId");
            (parent == 0 ? orders : entries) += 1;
            const std::int32_t seconds = s.FieldLong("Sekunden");
            table.addRow(
                {QString::number(id), s.FieldText("VorgangKey"), QString::number(parent),
                 s.FieldText("VorgangParentKey"), statusText(s.FieldLong("Status")),
                 QString::number(s.FieldLong("idAuftrag")),
                 numbered(s.FieldLong("Ps_nr"), s.FieldText("Ps_Kurzname")),
                 numbered(s.FieldLong("dlAuftragArtNr"), s.FieldText("dcAuftragArt")),
                 matterText(s, "dlAngelegenheitNr", "dcAngelegenheit", "Ang_GGWKenner"),
                 periodText(s.FieldLong("dlJahr"), s.FieldLong("diMonat"), s.FieldLong("diLfdNr")),
                 objectText(s), dateText(s.FieldDate("Beginn")), dateText(s.FieldDate("Ende")),
                 QString::number(seconds), durationText(seconds), s.FieldText("Text1"),
                 s.FieldText("Text2")});
            shown.insert(id);
            const auto lines = texts.find(id);
            if (lines != texts.end()) {
                for (const auto& [textId, text] : lines->second) {
                    table.addDetail(QStringLiteral("Textzeile %1: %2").arg(textId).arg(text));
                }
            }
        } while (s.Move());
    }
    s.CloseQuery();
    s.Close();

    if (table.isEmpty()) {
        if (!known) {
            throw AdminFailure(QStringLiteral("Einen Mitarbeiter mit der Id %1 gibt es in dieser "
                                              "Datenbank nicht.")
                                   .arg(employeeId));
        }
        return QStringLiteral("%1 hat keine vorläufigen Zeilen.\n").arg(who);
    }

    QString out;
    if (!known) {
        out += QStringLiteral("Achtung: Mitarbeiter %1 fehlt in tMitarbeiter, hat aber Zeilen.\n")
                   .arg(employeeId);
    }
    out += QStringLiteral("%1: %2 Aufträge, %3 Zeiteinträge, %4 Textzeilen\n\n")
               .arg(who)
               .arg(orders)
               .arg(entries)
               .arg(textCount);
    out += table.render();

    // Lines whose row the view does not return: the component's loader would stop on them.
    QStringList orphans;
    for (const auto& [rowId, lines] : texts) {
        if (shown.count(rowId) == 0) {
            for (const auto& [textId, text] : lines) {
                orphans.append(QStringLiteral("  Zeile %1, Textzeile %2: %3")
                                   .arg(rowId)
                                   .arg(textId)
                                   .arg(text));
            }
        }
    }
    if (!orphans.isEmpty()) {
        out += QStringLiteral("\nTextzeilen ohne ihre Zeile:\n") + orphans.join(QLatin1Char('\n')) +
               QLatin1Char('\n');
    }
    return out;
}

QString OfficeListing::overview() {
    db::DbService s(database_);
    s.Open();
    const QString limit = QStringLiteral(" LIMIT %1").arg(kListLimit);

    // Employees with their rights and how many provisional rows they have.
    std::map<std::int32_t, QStringList> rights;
    if (s.OpenQuery(QStringLiteral("SELECT flMitarbeiter, dlRecht FROM tMitarbeiterRecht "
                                   "ORDER BY flMitarbeiter, dlRecht"))) {
        do {
            rights[s.FieldLong("flMitarbeiter")].append(QString::number(s.FieldLong("dlRecht")));
        } while (s.Move());
    }
    s.CloseQuery();
    const std::int64_t employeeCount =
        countOf(s, QStringLiteral("SELECT COUNT(*) AS dlAnzahl FROM tMitarbeiter"));
    TextTable employees({{QStringLiteral("Id"), Align::Right},
                         {QStringLiteral("Nr"), Align::Right},
                         {QStringLiteral("Name")},
                         {QStringLiteral("Rechte")},
                         {QStringLiteral("Vorläufige Zeilen"), Align::Right}});
    if (s.OpenQuery(QStringLiteral("SELECT m.idMitarbeiter, m.dlMitarbeiterNr, m.dcName, "
                                   "(SELECT COUNT(*) FROM tLeistungZeiterfassung z "
                                   "WHERE z.ps_id = m.idMitarbeiter) AS dlZeilen "
                                   "FROM tMitarbeiter m ORDER BY m.dlMitarbeiterNr") +
                    limit)) {
        do {
            const std::int32_t id = s.FieldLong("idMitarbeiter");
            const auto it = rights.find(id);
            employees.addRow({QString::number(id), QString::number(s.FieldLong("dlMitarbeiterNr")),
                              s.FieldText("dcName"),
                              it == rights.end() ? QStringLiteral("keine")
                                                 : it->second.join(QStringLiteral(", ")),
                              QString::number(s.FieldLong("dlZeilen"))});
        } while (s.Move());
    }
    s.CloseQuery();

    // Clients and the offices themselves, offices first.
    s.OpenQuery(
        QStringLiteral("SELECT COUNT(*) AS dlAnzahl, "
                       "SUM(CASE WHEN Ps_IstKanzlei <> 0 THEN 1 ELSE 0 END) AS dlKanzleien "
                       "FROM tPersonStamm"));
    const std::int64_t personCount = s.FieldLong("dlAnzahl");
    const std::int64_t officeCount = s.FieldLong("dlKanzleien");
    s.CloseQuery();
    TextTable persons({{QStringLiteral("Id"), Align::Right},
                       {QStringLiteral("Nr"), Align::Right},
                       {QStringLiteral("Kurzname")},
                       {QStringLiteral("Name")},
                       {QStringLiteral("Art")}});
    if (s.OpenQuery(QStringLiteral("SELECT Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name, Ps_IstKanzlei "
                                   "FROM tPersonStamm ORDER BY Ps_IstKanzlei DESC, Ps_Nr") +
                    limit)) {
        do {
            persons.addRow({QString::number(s.FieldLong("Ps_Id")),
                            QString::number(s.FieldLong("Ps_Nr")), s.FieldText("Ps_Kurzname"),
                            s.FieldText("Ps_Name"),
                            s.FieldLong("Ps_IstKanzlei") != 0 ? QStringLiteral("Kanzlei")
                                                              : QStringLiteral("Mandant")});
        } while (s.Move());
    }
    s.CloseQuery();

    // Orders with client, kind, matter, period, billing kind and invoice.
    const std::int64_t orderCount =
        countOf(s, QStringLiteral("SELECT COUNT(*) AS dlAnzahl FROM tAuftrag"));
    TextTable orders({{QStringLiteral("Id"), Align::Right},
                      {QStringLiteral("Mandant")},
                      {QStringLiteral("Auftragsart")},
                      {QStringLiteral("Angelegenheit")},
                      {QStringLiteral("Zeitraum")},
                      {QStringLiteral("Objekt")},
                      {QStringLiteral("Abrechnungsart"), Align::Right},
                      {QStringLiteral("Rechnung")}});
    if (s.OpenQuery(QStringLiteral(
                        "SELECT a.idAuftrag, p.Ps_Nr, p.Ps_Kurzname, a.dlAuftragArtNr, "
                        "art.dcAuftragArt, a.dlAngelegenheitNr, ang.dcAngelegenheit, "
                        "ang.dlGgwKenner, a.dlJahr, a.diMonat, a.diLfdNr, a.dlObjektNr, "
                        "a.dcAngelegenheitErweitert, a.dlAbrechnungsArt, r.dlRechnungNr "
                        "FROM tAuftrag a "
                        "LEFT JOIN tPersonStamm p ON p.Ps_Id = a.flMandant "
                        "LEFT JOIN tAuftragArt art ON art.idAuftragArt = a.flAuftragArt "
                        "LEFT JOIN tAngelegenheit ang ON ang.idAngelegenheit = a.flAngelegenheit "
                        "LEFT JOIN tRechnung r ON r.idRechnung = a.flRechnung "
                        "ORDER BY a.idAuftrag") +
                    limit)) {
        do {
            const std::int32_t invoice = s.FieldLong("dlRechnungNr");
            orders.addRow(
                {QString::number(s.FieldLong("idAuftrag")),
                 numbered(s.FieldLong("Ps_Nr"), s.FieldText("Ps_Kurzname")),
                 numbered(s.FieldLong("dlAuftragArtNr"), s.FieldText("dcAuftragArt")),
                 matterText(s, "dlAngelegenheitNr", "dcAngelegenheit", "dlGgwKenner"),
                 periodText(s.FieldLong("dlJahr"), s.FieldLong("diMonat"), s.FieldLong("diLfdNr")),
                 objectText(s), QString::number(s.FieldLong("dlAbrechnungsArt")),
                 invoice == 0 ? QString() : QStringLiteral("Nr. %1").arg(invoice)});
        } while (s.Move());
    }
    s.CloseQuery();
    s.Close();

    QString out;
    out += section(QStringLiteral("Mitarbeiter: %1").arg(employeeCount), employees, employeeCount);
    out += QLatin1Char('\n');
    out += section(QStringLiteral("Mandanten: %1, Kanzleien: %2")
                       .arg(personCount - officeCount)
                       .arg(officeCount),
                   persons, personCount);
    out += QLatin1Char('\n');
    out += section(QStringLiteral("Aufträge: %1").arg(orderCount), orders, orderCount);
    return out;
}

}  // namespace orv::admin
