#pragma once

#include "TestDatabases.h"
#include "TestQueries.h"

#include "office/demo/DemoData.h"
#include "office/schema/Migrations.h"
#include "persistence/DbProcedure.h"
#include "persistence/DbService.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <initializer_list>

namespace orv::test {

inline QDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}
inline db::DbValue n(std::int64_t value) {
    return value;
}

struct Arg {
    const char* name;
    db::DbValue value;  // added with AddLong, AddText, AddDate or AddCurrency by its kind
};

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

    // Calls a procedure as the component does: the given positions set to NULL through the
    // parameter values, then the named values added. Returns Execute's result.
    std::int32_t run(db::DbProcedure& p, const char* name, std::initializer_list<Arg> args,
                     std::initializer_list<int> nullPositions = {}) {
        EXPECT_TRUE(p.Prepare(QString::fromLatin1(name))) << name;
        db::ParameterValues values = p.GetParameterValues();
        for (int position : nullPositions) {
            values.setNull(position);
        }
        p.SetParameterValues(values);
        for (const Arg& a : args) {
            if (const auto* l = std::get_if<std::int64_t>(&a.value)) {
                p.AddLong(a.name, static_cast<std::int32_t>(*l));
            } else if (const auto* t = std::get_if<QString>(&a.value)) {
                p.AddText(a.name, *t);
            } else if (const auto* d = std::get_if<QDateTime>(&a.value)) {
                p.AddDate(a.name, *d);
            } else if (const auto* c = std::get_if<db::Currency>(&a.value)) {
                p.AddCurrency(a.name, *c);
            }
        }
        return p.Execute();
    }

    QString rows(const QString& sql, std::initializer_list<const char*> columns,
                 const db::Params& params = {}) {
        return tableText(database(), sql, columns, params);
    }

    std::int32_t count(const QString& from) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM ") + from);
        return s.FieldLong("n");
    }
};

}  // namespace orv::test
