#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::office {

// A matter with its order kind, as the order-kind-and-matter picker shows it.
struct MatterEntry {
    std::int32_t auftragArtNr = 0;
    QString auftragArt;
    std::int32_t angelegenheitNr = 0;
    std::int32_t angelegenheitId = 0;
    QString angelegenheit;

    bool operator==(const MatterEntry&) const = default;
};

// The office's order kinds and their matters, read for the order-kind-and-matter picker. Every
// call is one short indexed query; nothing typed reaches SQL as text.
class MatterDirectory {
public:
    explicit MatterDirectory(db::Database& database);

    // The matter with these numbers; nothing when the order kind or the matter is unknown.
    std::optional<MatterEntry> byNumbers(std::int32_t auftragArtNr,
                                         std::int32_t angelegenheitNr) const;
    // The matter with that id; nothing for an unknown id.
    std::optional<MatterEntry> byId(std::int32_t angelegenheitId) const;
    // At most limit matters for what the employee has typed so far: digits match the order
    // kind numbers that start with them ("12" also the matters of kind 12), any text matches
    // order kind and matter texts that start with it or contain it, ignoring the case of A-Z and
    // Ä Ö Ü; '%', '_' and quotes are plain characters. Ordered by order kind number and
    // matter number. An empty text or a limit below 1 finds nothing.
    std::vector<MatterEntry> matching(const QString& typed, int limit) const;

private:
    db::Database& database_;
};

}  // namespace orv::office
