#include "FakePlatform.h"
#include "TestDatabases.h"

#include "office/procedures/OfficeCatalogue.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Three procedures of one object calling each other, the innermost one failing: reported once,
// with the call path, the failing line and what a procedure on the way added; the trace shows
// each procedure begun and none ended, as all left through the error. Without an error server
// the same report shows in a message box (one nobody answers fails the test).
TEST(DiagnosticsTest, AnErrorClimbsThreeProceduresAndIsReportedOnce) {
    test::TempDatabase temp(db::Backend::Sqlite, &office::officeCatalogue());
    test::FakePlatform platform(temp.database());
    ObjectTrace trace(platform, QStringLiteral("CTest"));
    int failingLine = 0;
    const auto outer = [&] {
        Procedure aussen(trace, "Aussen");
        return aussen.report(
            [&] {
                Procedure mitte(trace, "Mitte");
                mitte.setExtra(QStringLiteral("Optionswert: 42"));
                return mitte.run([&] {
                    Procedure innen(trace, "Innen");
                    return innen.run([&]() -> bool {
                        failingLine = __LINE__ + 1;
                        raiseError(err::kInvalidCall, QStringLiteral("Ungültiger Prozeduraufruf"));
                    });
                });
            },
            false);
    };
    EXPECT_FALSE(outer());
    ASSERT_EQ(platform.errorReports().size(), 1u);
    const test::ErrorReport report = platform.errorReports().front();
    EXPECT_EQ(report.number, err::kInvalidCall);
    EXPECT_EQ(report.source, QStringLiteral("000100000000|ORVkStoppUhren|ORVkStoppUhren\r\n"
                                            "ORVkStoppUhren.CTest.Innen (Zeile %1)\r\n"
                                            "ORVkStoppUhren.CTest.Mitte\r\n"
                                            "ORVkStoppUhren.CTest.Aussen")
                                 .arg(failingLine));
    EXPECT_EQ(report.description, "Ungültiger Prozeduraufruf\r\n\r\nOptionswert: 42");
    EXPECT_EQ(platform.trace().messages(),
              (QStringList{"Class_Initialize", "Begin Aussen", "Begin Mitte", "Begin Innen"}));

    platform.failCreation(test::Creation::ErrorServer);
    platform.messageBoxes().answer(platform::MsgAnswer::Ok);
    EXPECT_FALSE(outer());
    ASSERT_EQ(platform.messageBoxes().asked().size(), 1u);
    EXPECT_EQ(platform.messageBoxes().asked()[0].title, "Problembericht");
    EXPECT_TRUE(platform.messageBoxes().asked()[0].text.contains(report.description));
}

}  // namespace
}  // namespace orv
