// A session on a PostgreSQL server that goes away in the middle of the day and comes back. The
// test runs on a cluster of its own, so that stopping the server cuts no other test's
// connections.

#include "PgTestCluster.h"
#include "SessionTestSupport.h"

#include "session/diagnostics/Procedure.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;

class ServerOutageTest : public test::SessionTest {
protected:
    void TearDown() override {
        // The schema is dropped on the server: it has to be there.
        if (cluster_ != nullptr && cluster_->halted()) {
            startServer();
        }
        SessionTest::TearDown();
    }
    QString postgresCluster() override {
        cluster_ = std::make_unique<test::PgTestCluster>();
        [&] { ASSERT_TRUE(cluster_->started()) << cluster_->failure().toStdString(); }();
        return cluster_->conninfo();
    }
    void stopServer() { ASSERT_TRUE(cluster_->halt()) << cluster_->failure().toStdString(); }
    void startServer() { ASSERT_TRUE(cluster_->resume()) << cluster_->failure().toStdString(); }

    // A command of the main window: it reports what fails, as the window's procedures do.
    template <typename F>
    void windowCommand(const char* name, F&& body) {
        ObjectTrace trace(*platform_, QStringLiteral("frmStoppUhr"));
        Procedure(trace, name).report(std::forward<F>(body));
    }
    // The window's Start: the running stopwatch stops, the one of the row starts.
    void startInWindow(const QString& target) {
        windowCommand("AuftragStarten", [&] {
            stop();
            startOrder(target);
        });
    }
    // The operation showed one problem report that names the lost server, took no long wait (a
    // failed step takes milliseconds on a unix socket, also in the sanitizer build on a busy
    // machine), and the clock counts on: the next tick adds its seconds to the running stopwatch.
    template <typename F>
    void expectReportedOutage(const char* step, F&& operation) {
        SCOPED_TRACE(step);
        const std::size_t before = platform_->errorReports().size();
        QElapsedTimer elapsed;
        elapsed.start();
        std::forward<F>(operation)();
        EXPECT_LT(elapsed.elapsed(), 3000);
        ASSERT_EQ(platform_->errorReports().size(), before + 1);
        EXPECT_EQ(platform_->errorReports().back().number, err::kDatabase);
        EXPECT_TRUE(platform_->errorReports().back().description.contains(
            QStringLiteral("Datenbankserver")));
        const std::int32_t counted = total();
        tick(3);
        EXPECT_EQ(total(), counted + 3) << "the clock counts on";
        expectBalanced();
    }

    std::unique_ptr<test::PgTestCluster> cluster_;
};

// The server goes away while the employee sits in the pause dialog, and stays away for every
// other operation; once back, the next operation works and the next save writes what it missed.
TEST_P(ServerOutageTest, EveryOperationReportsTheOutageAndNoSecondIsLost) {
    tick(5);
    auto buchhaltung = startNewOrder(5001);
    tick(40);
    auto lohn = startNewOrder(5003);
    tick(30);
    startInWindow(buchhaltung->Key());
    tick(12);
    ASSERT_TRUE(platform_->errorReports().empty());
    // Lohn's first stretch is done and released for booking.
    ASSERT_TRUE(release(*first(*lohn)));
    expectBalanced();

    expectReportedOutage("a pause", [&] {
        platform_->frmPause().answerWith([&](CStoppUhren&, const QDateTime&) {
            stopServer();
            advance(1800);  // the pause counts in no stopwatch
            return 1800;
        });
        windowCommand("btnPause_Click", [&] { session_->Pause(); });
    });
    expectReportedOutage("the 60th tick's save", [&] { ticks(60, 1); });
    expectReportedOutage("a switch", [&] { startInWindow(lohn->Key()); });
    expectReportedOutage("editing an entry", [&] {
        platform_->frmLeistung().answer(LeistungAnzeigenAnswer{kGeaendert, 20, 5003});
        windowCommand("LeistungAnzeigen", [&] { openEdit(*first(*lohn)); });
    });
    // A failed step changes nothing, in the session as in the database: the employee edits again.
    EXPECT_EQ(first(*lohn)->Sekunden(), 30) << "the edit did not happen";
    EXPECT_EQ(session_->AktuellerAuftrag(), buchhaltung) << "the switch did not happen";
    expectReportedOutage("booking",
                         [&] { windowCommand("BuchenEinzel", [&] { session_->EinzelBuchen(); }); });
    expectReportedOutage("ending the session", [&] {
        platform_->messageBoxes().answer(platform::MsgAnswer::Yes);
        EXPECT_FALSE(session_->Beenden());
    });

    startServer();
    startInWindow(lohn->Key());
    ASSERT_EQ(platform_->errorReports().size(), 6u) << "no report once the server is back";
    EXPECT_EQ(session_->AktuellerAuftrag(), lohn);
    ticks(60, 1);  // the 60th tick since the last save writes what the server missed
    expectBalanced();
    expectRowsMatchObjects();
    // The session goes on: the released entry is booked, the day ends.
    windowCommand("BuchenEinzel", [&] { session_->EinzelBuchen(); });
    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE flAuftrag = 5003 AND flMitarbeiter = 7")), 1);
    platform_->messageBoxes().answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(session_->Beenden());
    EXPECT_EQ(platform_->errorReports().size(), 6u);
    expectBalanced();
    expectRowsMatchObjects();
}

INSTANTIATE_TEST_SUITE_P(Server, ServerOutageTest, ::testing::Values(db::Backend::Postgres),
                         test::backendParamName);

}  // namespace
}  // namespace orv
