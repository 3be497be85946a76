#pragma once

#include <cstddef>
#include <string_view>

namespace orv::db {

// Table, column, procedure and parameter names compare as the office database compares them:
// ASCII letters without regard to case.
inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool sameIdentifier(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

struct IdentifierHash {
    std::size_t operator()(std::string_view s) const {
        std::size_t h = 1469598103934665603ull;
        for (char c : s) {
            h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211ull;
        }
        return h;
    }
};

struct IdentifierEqual {
    bool operator()(std::string_view a, std::string_view b) const { return sameIdentifier(a, b); }
};

// "dbo.Name" and "[dbo].[Name]" name the same procedure as "Name".
inline std::string_view withoutSchemaPrefix(std::string_view name) {
    for (std::string_view prefix : {std::string_view("dbo."), std::string_view("[dbo].")}) {
        if (name.size() > prefix.size() && sameIdentifier(name.substr(0, prefix.size()), prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    return name;
}

}  // namespace orv::db
