#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace orv::db {
class Database;
}

namespace orv::office {

// A client of the office as the client picker shows it.
struct ClientEntry {
    std::int32_t id = 0;      // Ps_Id, what an order refers to
    std::int32_t nummer = 0;  // Ps_Nr, what the employee types
    QString kurzname;
    QString name;

    bool operator==(const ClientEntry&) const = default;
};

// The office's clients (persons that are not one of the offices themselves), read for the
// client picker. Every call is a few short indexed queries; nothing typed reaches SQL as text.
class ClientDirectory {
public:
    explicit ClientDirectory(db::Database& database);

    // The client with that number; nothing for an unknown number or an office.
    std::optional<ClientEntry> byNumber(std::int32_t nummer) const;
    // The client with that id; nothing for an unknown id or an office.
    std::optional<ClientEntry> byId(std::int32_t id) const;
    // At most limit clients for what the employee has typed so far: digits match the numbers
    // that start with them, any text matches short names and names that start with it or
    // contain it, ignoring the case of A-Z and Ä Ö Ü; '%', '_' and quotes are plain characters.
    // Clients whose number or name starts with the text come first, then by number. An empty
    // text or a limit below 1 finds nothing.
    std::vector<ClientEntry> matching(const QString& typed, int limit) const;

private:
    db::Database& database_;
};

}  // namespace orv::office
