#include "office/directory/ClientDirectory.h"

#include "office/directory/SearchText.h"
#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/QueryRows.h"

#include <algorithm>

namespace orv::office {
namespace {

constexpr const char* kColumns =
    "SELECT Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name FROM tPersonStamm WHERE Ps_IstKanzlei = 0 AND ";

std::vector<ClientEntry> readClients(db::Database& database, const QString& sql,
                                     const db::Params& params) {
    return db::queryRows(database, sql, params, [](db::DbService& row) {
        return ClientEntry{row.FieldLong("Ps_Id"), row.FieldLong("Ps_Nr"),
                           row.FieldText("Ps_Kurzname"), row.FieldText("Ps_Name")};
    });
}

std::optional<ClientEntry> first(std::vector<ClientEntry> clients) {
    if (clients.empty()) {
        return std::nullopt;
    }
    return std::move(clients.front());
}

// rangeCount > 0. One index range scan per range, each stopping at the limit: a single query over
// all ranges made PostgreSQL walk the client numbers from the lowest and filter thousands of rows.
QString numberPrefixQuery(std::size_t rangeCount) {
    const int limitParameter = static_cast<int>(2 * rangeCount + 1);
    QString sql = QStringLiteral("SELECT Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name FROM (");
    for (std::size_t i = 0; i < rangeCount; ++i) {
        const int low = static_cast<int>(2 * i + 1);
        sql += (i > 0 ? QStringLiteral(" UNION ALL ") : QString()) +
               QStringLiteral("SELECT * FROM (") + QLatin1String(kColumns) +
               QStringLiteral("Ps_Nr BETWEEN $%1 AND $%2 ORDER BY Ps_Nr, Ps_Id LIMIT $%3) r%4")
                   .arg(low)
                   .arg(low + 1)
                   .arg(limitParameter)
                   .arg(i);
    }
    return sql + QStringLiteral(") found ORDER BY Ps_Nr, Ps_Id LIMIT $%1").arg(limitParameter);
}

db::Params numberPrefixParams(const QString& digits, int limit) {
    db::Params params;
    for (const auto& [low, high] : search::numberPrefixRanges(digits)) {
        params.emplace_back(low);
        params.emplace_back(high);
    }
    params.emplace_back(std::int64_t{limit});
    return params;
}

// The clients whose folded short name or name starts with folded (end: search::prefixEnd), by
// number. The folded columns' index ranges yield them in name order, cheap while few start with
// the text; when many do, walking the clients by number (the ranges hidden from the planner by
// "|| ''") meets the first of them much sooner. SQLite keeps no statistics of the values to
// tell the two apart, so a bounded count over the ranges does.
std::vector<ClientEntry> startingWith(db::Database& database, const QString& folded,
                                      const QString& end, int limit) {
    constexpr std::int64_t kMany = 200;
    const QString range = QStringLiteral(
        "(Ps_KurznameSuche%1 >= $1 AND Ps_KurznameSuche%1 < $2"
        " OR Ps_NameSuche%1 >= $1 AND Ps_NameSuche%1 < $2)");
    db::DbService service(database);
    service.Open();
    const bool many =
        service.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM (SELECT 1 FROM tPersonStamm"
                                         " WHERE %1 LIMIT $3) s")
                              .arg(range.arg(QString())),
                          {folded, end, kMany}) != 0 &&
        service.FieldLong("n") >= kMany;
    return readClients(database,
                       QLatin1String(kColumns) +
                           range.arg(many ? QStringLiteral(" || ''") : QString()) +
                           QStringLiteral(" ORDER BY Ps_Nr, Ps_Id LIMIT $3"),
                       {folded, end, std::int64_t{limit}});
}

}  // namespace

ClientDirectory::ClientDirectory(db::Database& database) : database_(database) {}

// Numbers are not unique in the office's data; the oldest client with a number is the one the
// number stands for.
std::optional<ClientEntry> ClientDirectory::byNumber(std::int32_t nummer) const {
    return first(readClients(
        database_, QLatin1String(kColumns) + QStringLiteral("Ps_Nr = $1 ORDER BY Ps_Id LIMIT 1"),
        {std::int64_t{nummer}}));
}

std::optional<ClientEntry> ClientDirectory::byId(std::int32_t id) const {
    return first(readClients(database_, QLatin1String(kColumns) + QStringLiteral("Ps_Id = $1"),
                             {std::int64_t{id}}));
}

std::vector<ClientEntry> ClientDirectory::matching(const QString& typed, int limit) const {
    const QString text = typed.trimmed();
    if (text.isEmpty() || limit < 1) {
        return {};
    }
    if (search::isDigits(text)) {
        const std::size_t ranges = search::numberPrefixRanges(text).size();
        if (ranges == 0) {
            return {};
        }
        return readClients(database_, numberPrefixQuery(ranges), numberPrefixParams(text, limit));
    }
    // Clients whose short name or name starts with the text; then, while the limit is not
    // reached, those that contain it.
    const QString folded = search::fold(text);
    std::vector<ClientEntry> found;
    if (const std::optional<QString> end = search::prefixEnd(folded)) {
        found = startingWith(database_, folded, *end, limit);
    }
    if (found.size() == static_cast<std::size_t>(limit)) {
        return found;
    }
    // Those found already contain the text as well; at most limit rows make up the rest. A
    // contained text can only be found by reading every client once; ordered by the number
    // itself, a reused plan walked the number index and fetched each row on its own, slower
    // than one pass over the table and a sort of the few found.
    const std::size_t starting = found.size();
    const db::Backend backend = database_.backend();
    const std::vector<ClientEntry> containing =
        readClients(database_,
                    QLatin1String(kColumns) + u'(' +
                        search::containsCondition(backend, QStringLiteral("Ps_KurznameSuche"), 1) +
                        QStringLiteral(" OR ") +
                        search::containsCondition(backend, QStringLiteral("Ps_NameSuche"), 1) +
                        QStringLiteral(") ORDER BY Ps_Nr + 0, Ps_Id LIMIT $2"),
                    {folded, std::int64_t{limit}});
    for (const ClientEntry& client : containing) {
        const auto startingEnd = found.begin() + static_cast<std::ptrdiff_t>(starting);
        if (found.size() < static_cast<std::size_t>(limit) &&
            std::find(found.begin(), startingEnd, client) == startingEnd) {
            found.push_back(client);
        }
    }
    return found;
}

}  // namespace orv::office
