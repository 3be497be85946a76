#include "office/directory/MatterDirectory.h"

#include "office/directory/SearchText.h"
#include "persistence/Database.h"
#include "persistence/DbService.h"
#include "persistence/QueryRows.h"

namespace orv::office {
namespace {

constexpr const char* kColumns =
    "SELECT art.dlAuftragArtNr, art.dcAuftragArt, ang.dlAngelegenheitNr, ang.idAngelegenheit,"
    " ang.dcAngelegenheit"
    " FROM tAngelegenheit ang"
    " INNER JOIN tAuftragArt art ON art.idAuftragArt = ang.flAuftragArt WHERE ";

std::vector<MatterEntry> readMatters(db::Database& database, const QString& sql,
                                     const db::Params& params) {
    return db::queryRows(database, sql, params, [](db::DbService& row) {
        return MatterEntry{row.FieldLong("dlAuftragArtNr"), row.FieldText("dcAuftragArt"),
                           row.FieldLong("dlAngelegenheitNr"), row.FieldLong("idAngelegenheit"),
                           row.FieldText("dcAngelegenheit")};
    });
}

std::optional<MatterEntry> first(std::vector<MatterEntry> matters) {
    if (matters.empty()) {
        return std::nullopt;
    }
    return std::move(matters.front());
}

}  // namespace

MatterDirectory::MatterDirectory(db::Database& database) : database_(database) {}

std::optional<MatterEntry> MatterDirectory::byNumbers(std::int32_t auftragArtNr,
                                                      std::int32_t angelegenheitNr) const {
    return first(
        readMatters(database_,
                    QLatin1String(kColumns) +
                        QStringLiteral("art.dlAuftragArtNr = $1 AND ang.dlAngelegenheitNr = $2"),
                    {std::int64_t{auftragArtNr}, std::int64_t{angelegenheitNr}}));
}

std::optional<MatterEntry> MatterDirectory::byId(std::int32_t angelegenheitId) const {
    return first(readMatters(database_,
                             QLatin1String(kColumns) + QStringLiteral("ang.idAngelegenheit = $1"),
                             {std::int64_t{angelegenheitId}}));
}

std::vector<MatterEntry> MatterDirectory::matching(const QString& typed, int limit) const {
    const QString text = typed.trimmed();
    if (text.isEmpty() || limit < 1) {
        return {};
    }
    constexpr const char* kOrder =
        " ORDER BY art.dlAuftragArtNr, ang.dlAngelegenheitNr, ang.idAngelegenheit LIMIT $%1";
    if (search::isDigits(text)) {
        const auto ranges = search::numberPrefixRanges(text);
        db::Params params;
        for (const auto& [low, high] : ranges) {
            params.emplace_back(low);
            params.emplace_back(high);
        }
        params.emplace_back(std::int64_t{limit});
        return readMatters(database_,
                           QLatin1String(kColumns) +
                               search::rangeCondition("art.dlAuftragArtNr", ranges.size(), 1) +
                               QString::fromLatin1(kOrder).arg(params.size()),
                           params);
    }
    // A few hundred rows: folded as they are read.
    const db::Backend backend = database_.backend();
    return readMatters(
        database_,
        QLatin1String(kColumns) + u'(' +
            search::containsCondition(
                backend, search::foldSql(backend, QStringLiteral("art.dcAuftragArt")), 1) +
            QStringLiteral(" OR ") +
            search::containsCondition(
                backend, search::foldSql(backend, QStringLiteral("ang.dcAngelegenheit")), 1) +
            u')' + QString::fromLatin1(kOrder).arg(2),
        {search::fold(text), std::int64_t{limit}});
}

}  // namespace orv::office
