#pragma once

#include "TestDatabases.h"
#include "TestQueries.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbService.h"

#include <QDateTime>

#include <cstdint>
#include <initializer_list>

namespace orv::test {

inline QDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
inline db::DbValue n(std::int64_t value) {
    return value;
}

// A migrated office database; the demo office on request.
class OfficeDbTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            office::migrate(database());
        }
    }
    void loadDemo() { ASSERT_TRUE(office::loadDemoData(database())); }
    QString rows(const QString& sql, std::initializer_list<const char*> columns,
                 const db::Params& params = {}) {
        return tableText(database(), sql, columns, params);
    }
    std::int32_t count(const QString& from) {
        return rows(QStringLiteral("SELECT COUNT(*) AS n FROM ") + from, {"n"}).toInt();
    }
};

}  // namespace orv::test
