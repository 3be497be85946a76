#pragma once

#include "TestDatabases.h"
#include "TestQueries.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbService.h"

#include <cstdint>
#include <initializer_list>

namespace orv::test {

// A migrated office database, with the demo office loaded before each case unless demo_ is
// cleared in the constructor.
class OfficeDbTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            office::migrate(database());
            ASSERT_TRUE(!demo_ || office::loadDemoData(database()));
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
    bool demo_ = true;
};

}  // namespace orv::test
