#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace orv::db {

// A fixed-point amount with four decimals, as the office stores quantities of services.
struct Currency {
    std::int64_t tenThousandths = 0;

    static Currency fromDouble(double value);  // rounds half to even at the fourth decimal
    double toDouble() const { return static_cast<double>(tenThousandths) / 10000.0; }
    QString toSqlText() const;  // "1.5000"
    friend bool operator==(Currency, Currency) = default;
};

// A parameter or output value of a statement or procedure. A null QDateTime counts as NULL
// too: a date of 0 means "not set" throughout the component.
using DbValue = std::variant<std::monostate, std::int64_t, Currency, double, QString, QDateTime>;

// Values bound to $1, $2, ... of a statement.
using Params = std::vector<DbValue>;

bool isNull(const DbValue& value);
std::int64_t toInt64(const DbValue& value);  // NULL and texts without a number give 0
QString toText(const DbValue& value);        // NULL gives the empty text

}  // namespace orv::db
