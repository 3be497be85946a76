#pragma once

#include "FakePlatform.h"
#include "TestDatabases.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "office/demo/DemoData.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "session/CStoppUhren.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orv::test {

// One row of the time-recording table as the database holds it; unset dates are null.
struct ZeRow {
    std::int32_t id = 0;
    std::int32_t psId = 0;
    std::int32_t idAuftrag = 0;
    QString vorgangKey;  // "NULL" when the column is NULL
    std::int32_t parentId = 0;
    QString parentKey;  // "NULL" when the column is NULL
    std::int32_t status = 0;
    QDateTime beginn;
    QDateTime ende;
    QString text1;
    QString text2;
    std::int32_t sekunden = 0;
};

// The demo office on a real database, with a session object for an employee whose clock and
// windows the test controls. The session is not started: tests start it when they need the
// loaded state, or work on the gateway and the orders directly.
class SessionTest : public BackendTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the session for the employee; the test fails when Starten does.
    void start(std::int32_t employee = office::demo::kEmployeeWithRights);
    // A second session object on the same platform, as the next start of the component.
    std::unique_ptr<CStoppUhren> newSession();

    // The gateway of the started session.
    CDBAccess& gateway();
    // A new productive order of the (started) session with its row, held in its orders.
    std::shared_ptr<CAuftrag> newOrder(std::int32_t auftragId = 0);

    // Switches as the main window does: the counting guard off, the running stopwatch stopped,
    // the next one started, the guard on again. A new order takes the office order given.
    std::shared_ptr<CAuftrag> startNewOrder(std::int32_t auftragId);
    void switchTo(const QString& key);
    // One tick of the session's timer after the given seconds; false when the clock stood.
    bool tickClock(qint64 seconds);
    // The balance every operation keeps: orders equal their entries, the productive total
    // equals the orders.
    void expectOrdersBalanced();

    std::optional<ZeRow> row(std::int32_t id);
    std::vector<ZeRow> rowsOf(std::int32_t employee = office::demo::kEmployeeWithRights);
    // Text lines of an entry row in their order, as the loader reads them.
    QStringList textLines(std::int32_t entryId);
    std::int32_t count(const QString& fromWhere);
    // The employee's logins in the order they began: "08:00:00-12:00:00/0 13:00:00-/0"
    // (begin-end/kind, no end while open).
    QString logins(std::int32_t employee = office::demo::kEmployeeWithRights);
    std::int32_t execute(const QString& sql);

    SettableClock& clock() { return platform_->settableClock(); }
    void advance(qint64 seconds) { clock().advance(seconds); }
    QDateTime now() { return clock().now(); }

    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CStoppUhren> session_;
};

}  // namespace orv::test
