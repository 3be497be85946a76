#pragma once

#include "persistence/DbValue.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <string_view>
#include <vector>

namespace orv::db {

class Database;
struct ProcedureDef;

// The values of a prepared procedure's parameters by declared position, counted from 1.
class ParameterValues {
public:
    ParameterValues() = default;
    explicit ParameterValues(std::vector<DbValue> values) : values_(std::move(values)) {}

    int size() const { return static_cast<int>(values_.size()); }
    DbValue& operator[](int position);  // position from 1
    const DbValue& operator[](int position) const;
    void setNull(int position) { (*this)[position] = std::monostate{}; }
    std::vector<DbValue>& values() { return values_; }

private:
    std::vector<DbValue> values_;
};

// Calls one stored procedure of the office database with named parameters. A parameter that is
// not set, or set to an empty date, reaches the procedure as NULL. Values stay set after Execute,
// so a second call on the same prepared procedure changes only what it sets anew.
class DbProcedure {
public:
    explicit DbProcedure(Database& database);
    ~DbProcedure();
    DbProcedure(const DbProcedure&) = delete;
    DbProcedure& operator=(const DbProcedure&) = delete;

    // True when the procedure exists; false leaves the object unprepared.
    bool Prepare(const QString& procedure, int options = 0);
    void ResetParameters();
    ParameterValues GetParameterValues() const;
    void SetParameterValues(ParameterValues values);

    // Runs the procedure; non-zero on success. A body of several statements runs them in one
    // transaction of its own; a single statement needs none, which saves a server two round trips.
    std::int32_t Execute(int options = 0);

    std::int32_t OutLong(std::string_view name) const;
    QString OutText(std::string_view name) const;

    void AddLong(std::string_view name, std::int32_t value);
    void AddText(std::string_view name, const QString& value);
    void AddCurrency(std::string_view name, Currency value);
    void AddDate(std::string_view name, const QDateTime& value);

    void Close();

    bool isPrepared() const { return def_ != nullptr; }

private:
    const ProcedureDef& prepared() const;
    DbValue& slot(std::string_view name);
    const DbValue& slot(std::string_view name) const;

    Database& database_;
    const ProcedureDef* def_ = nullptr;
    std::vector<DbValue> values_;
};

}  // namespace orv::db
