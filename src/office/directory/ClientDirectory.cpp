#include "office/directory/ClientDirectory.h"

#include "office/directory/SearchText.h"
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
        const auto ranges = search::numberPrefixRanges(text);
        db::Params params;
        for (const auto& [low, high] : ranges) {
            params.emplace_back(low);
            params.emplace_back(high);
        }
        params.emplace_back(std::int64_t{limit});
        return readClients(
            database_,
            QLatin1String(kColumns) + search::rangeCondition("Ps_Nr", ranges.size(), 1) +
                QStringLiteral(" ORDER BY Ps_Nr, Ps_Id LIMIT $%1").arg(params.size()),
            params);
    }
    const QString kurz = search::foldedColumn("Ps_Kurzname");
    const QString name = search::foldedColumn("Ps_Name");
    const QString escape = QLatin1String(search::kEscapeClause);
    return readClients(
        database_,
        QLatin1String(kColumns) + u'(' + kurz + QStringLiteral(" LIKE $2") + escape +
            QStringLiteral(" OR ") + name + QStringLiteral(" LIKE $2") + escape +
            QStringLiteral(") ORDER BY CASE WHEN ") + kurz + QStringLiteral(" LIKE $1") + escape +
            QStringLiteral(" OR ") + name + QStringLiteral(" LIKE $1") + escape +
            QStringLiteral(" THEN 0 ELSE 1 END, Ps_Nr, Ps_Id LIMIT $3"),
        {search::patternStarting(text), search::patternContaining(text), std::int64_t{limit}});
}

}  // namespace orv::office
