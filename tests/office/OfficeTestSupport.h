#pragma once

#include "TestDatabases.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbProcedure.h"
#include "persistence/DbService.h"

#include <QDateTime>

#include <cstdint>

namespace orv::test {

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

    // The first column of the first row; `fallback` when there is no row or the value is NULL.
    std::int32_t longOf(const QString& sql, const db::Params& params = {},
                        std::int32_t fallback = -1) {
        db::DbService s(database());
        s.Open();
        s.OpenQuery(sql, params);
        const std::int32_t value = s.FieldLong("v", fallback);
        s.Close();
        return value;
    }
    QString textOf(const QString& sql, const db::Params& params = {},
                   const QString& fallback = QStringLiteral("<NULL>")) {
        db::DbService s(database());
        s.Open();
        s.OpenQuery(sql, params);
        const QString value = s.FieldText("v", fallback);
        s.Close();
        return value;
    }
    QDateTime dateOf(const QString& sql, const db::Params& params = {}) {
        db::DbService s(database());
        s.Open();
        s.OpenQuery(sql, params);
        const QDateTime value = s.FieldDate("v");
        s.Close();
        return value;
    }
    std::int32_t count(const QString& table) {
        return longOf(QStringLiteral("SELECT COUNT(*) AS v FROM ") + table);
    }
};

inline QDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

}  // namespace orv::test
