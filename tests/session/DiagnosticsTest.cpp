#include "FakePlatform.h"
#include "TestDatabases.h"

#include "office/procedures/OfficeCatalogue.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/FileTraceLogger.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace orv {
namespace {

using platform::MsgAnswer;

// Three procedures of one object calling each other; the innermost one fails.
class Caller {
public:
    explicit Caller(platform::PlatformFactory& platform)
        : trace_(platform, QStringLiteral("CTest")) {}

    bool outer() {
        Procedure p(trace_, "Aussen");
        return p.report([&] { return middle(); }, false);
    }
    bool middle() {
        Procedure p(trace_, "Mitte");
        p.setExtra(QStringLiteral("Optionswert: 42"));
        return p.run([&] { return inner(); });
    }
    bool inner() {
        Procedure p(trace_, "Innen");
        return p.run([&]() -> bool {
            failingLine = __LINE__ + 1;
            raiseError(err::kInvalidCall, QStringLiteral("Ungültiger Prozeduraufruf"));
        });
    }
    bool throwsForeign(const QString& source) {
        Procedure p(trace_, "Fremd");
        return p.report([&]() -> bool { throw OrvError(91, source, QStringLiteral("fremd")); },
                        false);
    }

    int failingLine = 0;

private:
    ObjectTrace trace_;
};

class DiagnosticsTest : public ::testing::Test {
protected:
    DiagnosticsTest()
        : temp_(db::Backend::Sqlite, &office::officeCatalogue()), platform_(temp_.database()) {}

    test::TempDatabase temp_;
    test::FakePlatform platform_;
};

const QString kTag = QStringLiteral("000100000000|ORVkStoppUhren|");

// Reported to the error server only: a message box nobody answers fails the test.
TEST_F(DiagnosticsTest, ErrorClimbsThreeProceduresAndIsReportedOnce) {
    Caller caller(platform_);
    EXPECT_FALSE(caller.outer());

    ASSERT_EQ(platform_.errorReports().size(), 1u);
    const test::ErrorReport& report = platform_.errorReports().front();
    EXPECT_EQ(report.number, err::kInvalidCall);
    EXPECT_EQ(
        report.source,
        kTag + QStringLiteral("ORVkStoppUhren") +
            QStringLiteral("\r\nORVkStoppUhren.CTest.Innen (Zeile %1)").arg(caller.failingLine) +
            QStringLiteral("\r\nORVkStoppUhren.CTest.Mitte") +
            QStringLiteral("\r\nORVkStoppUhren.CTest.Aussen"));
    EXPECT_EQ(report.description,
              QStringLiteral("Ungültiger Prozeduraufruf\r\n\r\nOptionswert: 42"));

    // "Begin" for all three, "End" for none: they all left through the error.
    EXPECT_EQ(platform_.trace().messages(),
              (QStringList{QStringLiteral("Class_Initialize"), QStringLiteral("Begin Aussen"),
                           QStringLiteral("Begin Mitte"), QStringLiteral("Begin Innen")}));
}

TEST_F(DiagnosticsTest, MessageBoxTellsTheFailedErrorServerFirstThenTheReport) {
    platform_.failCreation(test::Creation::ErrorServer);
    platform_.messageBoxes().answer(MsgAnswer::Ok);
    Caller caller(platform_);
    caller.throwsForeign(QStringLiteral("Quelle"));

    ASSERT_EQ(platform_.messageBoxes().asked().size(), 1u);
    const test::AskedBox& box = platform_.messageBoxes().asked().front();
    EXPECT_EQ(box.title, QStringLiteral("Problembericht"));
    EXPECT_EQ(box.icon, platform::MsgIcon::Critical);
    EXPECT_EQ(box.buttons, platform::MsgButtons::OkOnly);
    EXPECT_EQ(platform_.messageBoxes().mousePointerResets(), 1);
    const QString header =
        QStringLiteral("*** Fehler beim Laden des Problemberichts ***\r\nFehler-Nr: 429\r\n");
    const QString command = QStringLiteral(
        "\r\n\r\nFolgender Befehl hat diesen Fehler ausgelöst:\r\n"
        "\"Set oTQError = CreateObject(\"srvTQ.TQErrorClass\")\"");
    const QString report =
        QStringLiteral("*** Problembericht ***\r\nFehler-Nr: 91\r\nfremd\r\n\r\nFehlerquelle: ") +
        kTag + QStringLiteral("Quelle\r\nORVkStoppUhren.CTest.Fremd");
    EXPECT_TRUE(box.text.startsWith(header)) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(command + QStringLiteral("\r\n\r\nFehlerquelle: ")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("TQErrorHandling.TQ_gErrorHandling\r\n\r\n")));
    EXPECT_TRUE(box.text.endsWith(report)) << box.text.toStdString();

    // An error server that is there but cannot show the report leaves the report alone.
    platform_.failCreation(test::Creation::ErrorServer, false);
    platform_.failErrorServerShowing();
    platform_.messageBoxes().answer(MsgAnswer::Ok);
    caller.throwsForeign(QStringLiteral("Quelle"));
    ASSERT_EQ(platform_.messageBoxes().asked().size(), 2u);
    EXPECT_TRUE(platform_.messageBoxes().asked().back().text.startsWith(
        QStringLiteral("*** Problembericht ***\r\nFehler-Nr: 91\r\n")));
}

TEST(FileTraceLoggerTest, WritesLinesOnlyWhenAFileIsNamed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.log"));
    {
        FileTraceLogger off{QString()};
        EXPECT_FALSE(off.Enabled());
        off.Write(1, QStringLiteral("ORVkStoppUhren.CTest"), QStringLiteral("Begin Nichts"));
        FileTraceLogger on(path);
        EXPECT_TRUE(on.Enabled());
        on.Write(1, QStringLiteral("ORVkStoppUhren.CAuftrag"), QStringLiteral("Begin Starten"));
        on.Write(1, QStringLiteral("ORVkStoppUhren.CAuftrag"), QStringLiteral("End Starten"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("1 ORVkStoppUhren.CAuftrag: Begin Starten")) << text.data();
    EXPECT_TRUE(text.trimmed().endsWith("End Starten")) << "each line appended";
    EXPECT_FALSE(text.contains("Nichts"));
}

}  // namespace
}  // namespace orv
