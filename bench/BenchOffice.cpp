#include "BenchOffice.h"

#include "persistence/driver/Connection.h"

#include <QDateTime>

#include <cstdint>
#include <vector>

namespace orv::bench {

using db::Backend;

std::map<Backend, std::unique_ptr<BenchDatabase>>& databases() {
    static std::map<Backend, std::unique_ptr<BenchDatabase>> all;
    return all;
}

BenchDatabase* load(Backend backend, int orders, int entriesPerOrder, int linesPerEntry,
                    int entrySeconds, Reuse reuse) {
    static std::map<Backend, std::vector<int>> readShape;
    const std::vector<int> shape{orders, entriesPerOrder, linesPerEntry, entrySeconds};
    auto& d = databases()[backend];
    if (d == nullptr) {
        d = BenchDatabase::createDemoOffice(backend);
        if (d == nullptr) {
            return nullptr;
        }
    } else if (reuse == Reuse::Rows && readShape[backend] == shape) {
        return d.get();
    }
    readShape[backend] = reuse == Reuse::Rows ? shape : std::vector<int>();
    auto c = d->database().connection();
    std::vector<std::int64_t> auftraege;
    {
        auto rows = c->query("SELECT idAuftrag FROM tAuftrag ORDER BY idAuftrag");
        while (rows->next()) {
            auftraege.push_back(rows->toInt64(0));
        }
    }
    db::Transaction t(*c);
    c->execute(
        "DELETE FROM tLeistungZeiterfassungTexte WHERE flLeistungZeiterfassung IN (SELECT "
        "idLeistungZeiterfassung FROM tLeistungZeiterfassung WHERE ps_id = $1)",
        db::Params{std::int64_t{kEmployee}});
    c->execute("DELETE FROM tLeistungZeiterfassung WHERE ps_id = $1",
               db::Params{std::int64_t{kEmployee}});
    const QDateTime start(QDate(2026, 3, 16), QTime(7, 0, 0));
    for (int o = 0; o < orders; ++o) {
        const std::int64_t auftrag = auftraege[static_cast<std::size_t>(o) % auftraege.size()];
        auto inserted = c->query(
            "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
            " Status, Beginn, Text1, Text2, Sekunden, BearbeitungsArt, VerwaltungsLeistung,"
            " VerwaltungsLeistungHerkunft) VALUES ($1, $2, 'a0', 0, 0, $3, $4, '', $5, 0, 0, 0)"
            " RETURNING idLeistungZeiterfassung",
            db::Params{std::int64_t{kEmployee}, auftrag, start,
                       QStringLiteral("Beratung zur Jahresplanung %1").arg(o),
                       std::int64_t{entrySeconds} * entriesPerOrder});
        inserted->next();
        const std::int64_t orderId = inserted->toInt64(0);
        const QString key = QStringLiteral("a%1").arg(orderId);
        c->execute(
            "UPDATE tLeistungZeiterfassung SET VorgangKey = $1 WHERE idLeistungZeiterfassung = $2",
            db::Params{key, orderId});
        for (int e = 0; e < entriesPerOrder; ++e) {
            auto entry = c->query(
                "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangParentId,"
                " VorgangParentKey, Status, Beginn, Ende, Text1, Text2, Sekunden, BearbeitungsArt,"
                " VerwaltungsLeistung, VerwaltungsLeistungHerkunft)"
                " VALUES ($1, $2, $3, $4, 0, $5, $6, '', $7, $8, 0, 0, 0)"
                " RETURNING idLeistungZeiterfassung",
                db::Params{std::int64_t{kEmployee}, auftrag, orderId, key, start,
                           start.addSecs(entrySeconds), QStringLiteral("Telefonat mit Frau Müller"),
                           std::int64_t{entrySeconds}});
            entry->next();
            const std::int64_t entryId = entry->toInt64(0);
            for (int l = 0; l < linesPerEntry; ++l) {
                c->execute(
                    "INSERT INTO tLeistungZeiterfassungTexte (flLeistungZeiterfassung,"
                    " LeistungZeiterfassungText) VALUES ($1, $2)",
                    db::Params{entryId,
                               QStringLiteral("Erläuterung der Bescheide, Zeile %1").arg(l + 1)});
            }
        }
    }
    t.commit();
    c->executeScript(backend == Backend::Postgres ? "ANALYZE" : "PRAGMA wal_checkpoint(TRUNCATE)");
    return d.get();
}

bool skipWithoutServer(benchmark::State& state, BenchDatabase* d) {
    if (d == nullptr) {
        state.SkipWithError("ORV_BENCH_PG/ORV_TEST_PG nicht gesetzt");
        return true;
    }
    return false;
}

}  // namespace orv::bench
