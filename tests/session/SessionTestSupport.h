#pragma once

#include "FakePlatform.h"
#include "TestDatabases.h"
#include "TestQueries.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/demo/DemoData.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/OrvError.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orv::test {

// One row of the time-recording table as the database holds it.
struct ZeRow {
    std::int32_t id = 0;
    std::int32_t idAuftrag = 0;
    std::int32_t parentId = 0;
    std::int32_t status = 0;
    std::int32_t sekunden = 0;
    QString text2;
};

// The demo office on a real database with a session of the employee with rights, started at
// 08:00 on the idle stopwatch, whose clock and windows the test controls. The test keeps its
// own account of the seconds the clock gave, which every stopwatch together must hold.
class SessionTest : public BackendTest {
protected:
    // Tests of what happens before or at the start ask for the session unstarted; tests of
    // steps that draw on idle time ask for the seconds the idle stopwatch has counted first.
    explicit SessionTest(bool started = true, qint64 idleSeconds = 0)
        : started_(started), idleSeconds_(idleSeconds) {}
    void SetUp() override;
    void TearDown() override;

    // Starts the session for the employee; the test fails when Starten does.
    void start(std::int32_t employee = office::demo::kEmployeeWithRights);
    // Starten as the host calls it, for a start that may fail.
    bool starten(std::int32_t employee = office::demo::kEmployeeWithRights) {
        return session_->Starten(employee);
    }
    // A second session object on the same platform, as the next start of the component.
    std::unique_ptr<CStoppUhren> newSession();
    // Another start of the component beside this session: another workstation, or the next
    // start after this one; the test fails when it does not start.
    std::unique_ptr<CStoppUhren> startedSession(
        std::int32_t employee = office::demo::kEmployeeWithRights);
    // The next start of the component replaces this session; it holds what was counted.
    void restart();
    CDBAccess& gateway();
    // A new productive order of the session with its row, held in its orders.
    std::shared_ptr<CAuftrag> newOrder(std::int32_t auftragId = 0);

    // Switches as the main window does: the counting guard off, the running stopwatch stopped,
    // the next one started, the guard on again. A new order takes the office order given.
    std::shared_ptr<CAuftrag> startNewOrder(std::int32_t auftragId);
    void switchTo(const QString& key);
    // The two halves of a switch: the guard off and the running stopwatch stopped; the order
    // of the key (a new one when it is empty) started and the guard on again.
    void stop();
    bool startOrder(const QString& key);
    // An order that ran for the seconds and stopped, the idle stopwatch running again.
    std::shared_ptr<CAuftrag> workedOn(std::int32_t auftragId, qint64 seconds);
    // Ends the order as the main window does.
    void endOrder(const CAuftrag& order);
    // One tick of the session's timer after the seconds; they count in some stopwatch unless
    // the counting guard holds a switch (counts = false).
    void tick(qint64 seconds, bool counts = true);
    void ticks(int n, qint64 seconds) {
        for (int i = 0; i < n; ++i) {
            tick(seconds);
        }
    }

    static std::shared_ptr<cLeistung> first(const CAuftrag& order) {
        return order.Leistung(QStringLiteral("1"));
    }
    // The edit window confirms seconds and office order for the entry.
    std::int32_t edit(const cLeistung& entry, std::int32_t seconds, std::int32_t auftragId);
    // A command of the session on the entry, called with its order's key and its own.
    template <typename R>
    R onEntry(R (CStoppUhren::*command)(QString&, QString&), const cLeistung& entry) {
        QString auftragKey = entry.Auftrag().Key();
        QString leistungKey = entry.Key();
        return (session_.get()->*command)(auftragKey, leistungKey);
    }
    // The edit window opened on the entry, answering as the test queued.
    std::int32_t openEdit(const cLeistung& e) {
        return onEntry(&CStoppUhren::LeistungBearbeiten, e);
    }
    bool release(const cLeistung& e) { return onEntry(&CStoppUhren::LeistungFreigeben, e); }
    bool deleteEntry(const cLeistung& e) { return onEntry(&CStoppUhren::LeistungLoeschen, e); }
    // A manual entry of the seconds on the office order (the window's standing answer, as the
    // window is not asked when the host hands in a refused value); handedIn is what the host
    // passes in.
    std::int32_t manual(std::int32_t auftragId, std::int32_t seconds, std::int32_t handedIn = 0);
    // The day closing's edit window confirms without an order: the session ends, nothing booked.
    void confirmDayClosing();

    std::int32_t idle() const { return session_->LeerlaufAuftrag().Sekunden(); }
    // Idle time and the productive total together.
    std::int32_t total() const;
    // The balance every step keeps: orders equal their entries, the productive total the
    // orders, the idle order its entries, and every second the clock gave is in some stopwatch.
    void expectBalanced();
    // Each object's row says what the object says (the running stopwatch's seconds since its
    // last save are only in its objects), and no row of the employee is held by no object.
    void expectRowsMatchObjects();

    // What the session's orders hold, a line each: every order (the idle order first), its
    // entries and their text lines, with ids, states, seconds, times and notes.
    static QString objects(CStoppUhren& session, bool withTimes = true);

    std::optional<ZeRow> row(std::int32_t id);
    std::vector<ZeRow> rowsOf(std::int32_t employee = office::demo::kEmployeeWithRights);
    std::vector<ZeRow> readRows(const QString& column, std::int64_t value);
    // Text lines of an entry row in their order, as the loader reads them.
    QStringList textLines(std::int32_t entryId);
    std::int32_t count(const QString& fromWhere);
    // The employee's logins in the order they began: "08:00:00-12:00:00/0 13:00:00-/0"
    // (begin-end/kind, no end while open).
    QString logins(std::int32_t employee = office::demo::kEmployeeWithRights);
    std::int32_t openLogins() {
        return count(
            QStringLiteral("tLeistungZeiterfassungLogins WHERE "
                           "LeistungserfassungAbmeldung IS NULL"));
    }
    // The employee's services in booking order, one a line: "order|hours in ten-thousandths|
    // begin-end (HH:mm)|text lines joined by ' / '".
    QString services(std::int32_t employee = office::demo::kEmployeeWithRights);
    std::int32_t execute(const QString& sql);
    QString table(const QString& sql, std::initializer_list<const char*> columns,
                  const db::Params& params = {}) {
        return tableText(database(), sql, columns, params);
    }

    SettableClock& clock() { return platform_->settableClock(); }
    void advance(qint64 seconds) { clock().advance(seconds); }
    QDateTime now() { return clock().now(); }
    db::FaultInjector& faults() { return database().faults(); }

    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CStoppUhren> session_;
    qint64 counted_ = 0;

private:
    bool started_;
    qint64 idleSeconds_;
};

}  // namespace orv::test
