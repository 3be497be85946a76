#pragma once

#include "TestDatabases.h"
#include "TestQueries.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbService.h"

#include <cstdint>
#include <initializer_list>

namespace orv::test {

inline db::DbValue n(std::int64_t value) {
    return value;
}

// A migrated office database.
class OfficeDbTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            office::migrate(database());
        }
    }
    void execute(const QString& sql, const db::Params& params = {}) {
        db::DbService(database()).Execute(sql, params);
    }
    QString rows(const QString& sql, std::initializer_list<const char*> columns,
                 const db::Params& params = {}) {
        return tableText(database(), sql, columns, params);
    }
    std::int32_t count(const QString& from) {
        return rows(QStringLiteral("SELECT COUNT(*) AS n FROM ") + from, {"n"}).toInt();
    }
};

// The demo office, loaded before each case.
class OfficeDemoTest : public OfficeDbTest {
protected:
    void SetUp() override {
        OfficeDbTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            ASSERT_TRUE(office::loadDemoData(database()));
        }
    }
};

}  // namespace orv::test
