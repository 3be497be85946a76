#pragma once

#include <QString>

#include <cstdint>

namespace orv::db {
class Database;
}

namespace orv::admin {

// What the administrator sees of an office database, as plain-text tables.
class OfficeListing {
public:
    explicit OfficeListing(db::Database& database) : database_(database) {}

    // One employee's provisional rows as V_ORV_Common_Korg_Leistungen_Zeiterfassung returns them,
    // ordered by VorgangParentId (orders before entries), each with its text lines from
    // V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte. Raises AdminFailure for an employee that
    // neither exists nor has rows.
    QString provisionalRows(std::int32_t employeeId);

    // Employees, clients and offices, and orders, each with its count; long lists are cut.
    QString overview();

    // Lists longer than this show their first rows and how many more there are.
    static constexpr int kListLimit = 50;

private:
    db::Database& database_;
};

// Status names of orders and entries as they are stored.
QString statusText(std::int32_t status);
// Seconds as h:mm:ss.
QString durationText(std::int64_t seconds);

}  // namespace orv::admin
