#pragma once

#include "session/diagnostics/OrvError.h"
#include "session/runtime/Runtime.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace orv {

// The component's collections of orders, entries and text lines: items in the order they were
// added, found by their key or, when the key is a number, by their position counted from 1.
// Keys of orders and entries begin with a letter, so the two never meet. A missing key raises
// error 5, a position outside the collection error 9; a key given twice error 457.
template <typename T>
class KeyedCollection {
public:
    using Item = std::shared_ptr<T>;

    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    bool empty() const { return items_.empty(); }

    // An empty key adds an item that is found by its position only.
    void Add(const Item& value, const QString& key = {}) {
        if (key.isEmpty()) {
            items_.push_back({key, value});
            return;
        }
        if (index_.contains(key)) {
            throw OrvError(err::kDuplicateKey, source(),
                           QStringLiteral("Dieser Schlüssel ist bereits einem Element dieser "
                                          "Auflistung zugeordnet: %1")
                               .arg(key));
        }
        index_.insert(key, items_.size());
        items_.push_back({key, value});
    }

    // By key, or by position when the key is a number.
    const Item& item(const QString& key) const { return items_[indexOf(key)].second; }
    const Item& operator[](const QString& key) const { return item(key); }
    // By position, counted from 1.
    const Item& at(std::int32_t position) const { return items_[checkedPosition(position)].second; }

    bool contains(const QString& key) const { return index_.contains(key); }
    // The item with that key, or nullptr.
    Item find(const QString& key) const {
        const auto it = index_.constFind(key);
        return it == index_.cend() ? nullptr : items_[*it].second;
    }

    void Remove(const QString& key) {
        const std::size_t position = indexOf(key);
        index_.remove(items_[position].first);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
        reindexFrom(position);
    }

    // Puts an item back at a position counted from 0, or at the end when beyond it.
    void Insert(std::size_t position, const Item& value, const QString& key) {
        if (position >= items_.size()) {
            Add(value, key);
            return;
        }
        if (!key.isEmpty() && index_.contains(key)) {
            throw OrvError(err::kDuplicateKey, source(),
                           QStringLiteral("Dieser Schlüssel ist bereits einem Element dieser "
                                          "Auflistung zugeordnet: %1")
                               .arg(key));
        }
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), {key, value});
        reindexFrom(position);
    }
    // Drops the items from the position on, counted from 0.
    void truncate(std::size_t count) {
        while (items_.size() > count) {
            index_.remove(items_.back().first);
            items_.pop_back();
        }
    }
    // The key of the item at a position counted from 0.
    const QString& keyAt(std::size_t position) const { return items_.at(position).first; }
    // The position of the item with that key counted from 0, if it is there.
    std::optional<std::size_t> positionOf(const QString& key) const {
        const auto it = index_.constFind(key);
        return it == index_.cend() ? std::nullopt : std::optional<std::size_t>(*it);
    }

    void clear() {
        items_.clear();
        index_.clear();
    }

    // Walks the items in order.
    class const_iterator {
    public:
        using Inner = typename std::vector<std::pair<QString, Item>>::const_iterator;
        explicit const_iterator(Inner inner) : inner_(inner) {}
        const Item& operator*() const { return inner_->second; }
        const_iterator& operator++() {
            ++inner_;
            return *this;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        Inner inner_;
    };
    const_iterator begin() const { return const_iterator(items_.cbegin()); }
    const_iterator end() const { return const_iterator(items_.cend()); }

private:
    static QString source() { return QStringLiteral("ORVkStoppUhren"); }

    void reindexFrom(std::size_t position) {
        for (std::size_t i = position; i < items_.size(); ++i) {
            if (!items_[i].first.isEmpty()) {
                index_[items_[i].first] = i;
            }
        }
    }

    std::size_t checkedPosition(std::int32_t position) const {
        if (position < 1 || position > Count()) {
            throw OrvError(
                err::kSubscript, source(),
                QStringLiteral("Index außerhalb des gültigen Bereichs: %1").arg(position));
        }
        return static_cast<std::size_t>(position - 1);
    }

    std::size_t indexOf(const QString& key) const {
        const auto it = index_.constFind(key);
        if (it != index_.cend()) {
            return *it;
        }
        if (rt::isNumeric(key)) {
            return checkedPosition(rt::roundToLong(rt::toDouble(key)));
        }
        throw OrvError(err::kInvalidCall, source(),
                       QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument: "
                                      "Schlüssel \"%1\" nicht gefunden.")
                           .arg(key));
    }

    std::vector<std::pair<QString, Item>> items_;
    QHash<QString, std::size_t> index_;
};

}  // namespace orv
