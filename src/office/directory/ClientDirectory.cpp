#include "office/directory/ClientDirectory.h"

#include "office/directory/SearchText.h"
#include "persistence/Database.h"
#include "persistence/DbService.h"

namespace orv::office {
namespace {

constexpr const char* kColumns =
    "SELECT Ps_Id, Ps_Nr, Ps_Kurzname, Ps_Name FROM tPersonStamm WHERE Ps_IstKanzlei = 0 AND ";

std::vector<ClientEntry> readClients(db::Database& database, const QString& sql,
                                     const db::Params& params) {
    std::vector<ClientEntry> clients;
    db::DbService service(database);
    service.Open();
    for (bool row = service.OpenQuery(sql, params) != 0; row; row = service.Move()) {
        clients.push_back({service.FieldLong("Ps_Id"), service.FieldLong("Ps_Nr"),
                           service.FieldText("Ps_Kurzname"), service.FieldText("Ps_Name")});
    }
    return clients;
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
    const db::Backend backend = database_.backend();
    const auto either = [&](int parameter) {
        return u'(' + search::textCondition(backend, "Ps_Kurzname", parameter) +
               QStringLiteral(" OR ") + search::textCondition(backend, "Ps_Name", parameter) + u')';
    };
    const search::TextPattern starting = search::patternStarting(backend, text);
    const search::TextPattern containing = search::patternContaining(backend, text);
    return readClients(database_,
                       QLatin1String(kColumns) + either(3) +
                           QStringLiteral(" ORDER BY CASE WHEN ") + either(1) +
                           QStringLiteral(" THEN 0 ELSE 1 END, Ps_Nr, Ps_Id LIMIT $5"),
                       {starting.coarse, starting.exact, containing.coarse, containing.exact,
                        std::int64_t{limit}});
}

}  // namespace orv::office
