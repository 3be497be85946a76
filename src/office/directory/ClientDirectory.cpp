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
