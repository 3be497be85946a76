// A step that fails after it has written: its transaction is rolled back and the session's
// objects return to what they held before, so that objects and rows agree and the step can be
// done again, counting once. The fault matrix fails every statement of each step that writes in
// turn, not only the commit.

#include "SessionTestSupport.h"

#include "persistence/Database.h"
#include "persistence/FaultInjector.h"
#include "persistence/driver/Connection.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <future>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;

// One round of a step: the step itself, how the user does it again after a failure, and what
// it must have done, once, when it went through.
struct Round {
    std::function<void()> step;
    std::function<void()> again;  // the step itself when empty
    std::function<void()> done;
};

class FailedStepTest : public test::SessionTest {
protected:
    FailedStepTest() : SessionTest(true, 3600) {}

    // Objects and rows as a user and the office would see them.
    QString state() {
        const auto n = [](qint64 value) { return QString::number(value); };
        QStringList out{objects(*session_)};
        const auto* released = session_->FreigegebeneLeistungen();
        const auto& current = session_->AktuellerAuftrag();
        out << (current ? current->Key() : QString()) + '|' + n(session_->AuftragLaeuft()) + '|' +
                   n(session_->AuftragsSekunden()) + '|' + n(released ? released->Count() : -1);
        out << table(QStringLiteral("SELECT * FROM tLeistungZeiterfassung ORDER BY 1"),
                     {"idLeistungZeiterfassung", "Status", "Sekunden", "idAuftrag",
                      "VorgangParentId", "Ende"})
            << table(QStringLiteral("SELECT * FROM tLeistungZeiterfassungTexte ORDER BY 1"),
                     {"flLeistungZeiterfassung", "LeistungZeiterfassungText"})
            << table(QStringLiteral("SELECT * FROM tLeistung ORDER BY idLeistung"),
                     {"flMitarbeiter", "flAuftrag", "dmAnzahl"})
            << table(QStringLiteral("SELECT COUNT(*) AS n FROM tLeistungText"), {"n"});
        return out.join(QLatin1Char('\n'));
    }

    // Fails the step's first statement, then its second, and so on until the step has fewer
    // statements. After each failure the user was told, objects and rows are as before, the
    // clock counts on, and the step done again does its work once.
    void failEachStatement(const std::function<Round()>& prepare, bool objectsKeepTheStep = true) {
        int statements = 0;
        for (int k = 1; !HasFatalFailure(); ++k) {
            SCOPED_TRACE(testing::Message() << "statement " << k);
            const Round round = prepare();
            const QString before = state();
            const std::size_t reports = platform_->errorReports().size();
            const int seen = faults().statementsSeen();
            faults().failStatement(k);
            const std::optional<OrvError> error = test::failureOf(round.step);
            const bool reached = faults().statementsSeen() - seen >= k;
            faults().clear();
            if (!reached) {
                ASSERT_FALSE(error.has_value()) << error->description().toStdString();
                ASSERT_EQ(platform_->errorReports().size(), reports);
                round.done();
                statements = k - 1;
                break;
            }
            EXPECT_TRUE(error.has_value() || platform_->errorReports().size() > reports)
                << "a failure passed for success";
            if (objectsKeepTheStep) {
                EXPECT_EQ(state().toStdString(), before.toStdString());
            }
            expectBalanced();
            expectRowsMatchObjects();
            tick(1);
            expectBalanced();

            const std::optional<OrvError> retry =
                test::failureOf(round.again ? round.again : round.step);
            ASSERT_FALSE(retry.has_value()) << retry->description().toStdString();
            round.done();
            expectBalanced();
            expectRowsMatchObjects();

            // The server gives the statement up once, as it does to break a deadlock: the step
            // is done again by itself and counts once, or fails as above.
            const Round retried = prepare();
            const QString beforeRetry = state();
            const std::size_t reportsBefore = platform_->errorReports().size();
            faults().atStatement(k, [] {
                OrvError deadlock(err::kDatabase, QStringLiteral("Server"),
                                  QStringLiteral("Verklemmung erkannt"));
                deadlock.setRetryable(true);
                throw deadlock;
            });
            const std::optional<OrvError> gaveUp = test::failureOf(retried.step);
            faults().clear();
            const bool failed =
                gaveUp.has_value() || platform_->errorReports().size() > reportsBefore;
            if (failed && objectsKeepTheStep) {
                EXPECT_EQ(state().toStdString(), beforeRetry.toStdString());
            }
            if (failed) {
                retried.again ? retried.again() : retried.step();
            }
            retried.done();
            expectBalanced();
            expectRowsMatchObjects();
        }
        RecordProperty("statements", statements);
        EXPECT_GE(statements, 3) << "a step that writes has its begin, a write and its commit";
    }

    // A stretch on the office order with a text line, released for booking.
    std::shared_ptr<CAuftrag> released(std::int32_t auftragId, qint64 seconds) {
        auto order = workedOn(auftragId, seconds);
        first(*order)->TextHinzufuegen(0, QStringLiteral("Belege %1").arg(seconds));
        first(*order)->Speichern(false);
        EXPECT_TRUE(release(*first(*order)));
        return order;
    }
    // Single booking of one released entry, or of two, the second's failure leaving the first
    // booked and a summed booking doing the rest: every entry and its share booked once.
    Round booking(bool summedAfterwards) {
        std::vector<std::shared_ptr<cLeistung>> entries{first(*released(5001, 900))};
        if (summedAfterwards) {
            entries.push_back(first(*released(5003, 900)));
        }
        const std::int32_t before = count(QStringLiteral("tLeistung"));
        const auto book = [this] { session_->EinzelBuchen(); };
        const auto summed = [this] { session_->SammelBuchen(); };
        return {book, summedAfterwards ? std::function<void()>(summed) : book, [=, this] {
                    EXPECT_EQ(count(QStringLiteral("tLeistung")), before + 2 * int(entries.size()))
                        << "each entry and its share booked once";
                    for (const auto& entry : entries) {
                        EXPECT_EQ(entry->Status(), cLeistung::kStatusZeileGeloescht);
                    }
                }};
    }
};

TEST_P(FailedStepTest, Stop) {
    failEachStatement([this] {
        const auto order = startNewOrder(5001);
        tick(30);
        return Round{[this] { stop(); },
                     {},
                     [this, order] {
                         EXPECT_EQ(order->Status(), AuftragStatus_InAktiv);
                         EXPECT_EQ(first(*order)->Status(), AuftragStatus_Beendet);
                         EXPECT_FALSE(session_->AuftragLaeuft());
                         switchTo(CAuftrag::LeerlaufKey());
                     }};
    });
}

TEST_P(FailedStepTest, StartOfANewOrder) {
    failEachStatement([this] {
        stop();
        const std::int32_t orders = session_->Auftraege().Count();
        return Round{[this] { startOrder(QString()); },
                     {},
                     [this, orders] {
                         EXPECT_EQ(session_->Auftraege().Count(), orders + 1);
                         EXPECT_TRUE(session_->AuftragLaeuft());
                         tick(5);
                         EXPECT_EQ(session_->AktuellerAuftrag()->Sekunden(), 5);
                         switchTo(CAuftrag::LeerlaufKey());
                     }};
    });
}

// The edit's time comes from idle time; the edit window answers the same at every call.
TEST_P(FailedStepTest, Edit) {
    failEachStatement([this] {
        const auto order = workedOn(5001, 600);
        tick(300);
        platform_->frmLeistung().answerWith(LeistungAnzeigenAnswer{kGeaendert, 900, 5001});
        return Round{[this, order] { openEdit(*first(*order)); },
                     {},
                     [order] { EXPECT_EQ(order->Sekunden(), 900); }};
    });
}

TEST_P(FailedStepTest, Move) {
    int target = 5002;
    failEachStatement([this, &target] {
        const auto entry = first(*workedOn(5001, 300));
        const std::int32_t to = target++;
        platform_->frmLeistung().answerWith(LeistungAnzeigenAnswer{kGeaendert, 300, to});
        return Round{[this, entry] { openEdit(*entry); },
                     {},
                     [this, entry, to] {
                         const auto moved = session_->AuftragZuAuftragId(to);
                         ASSERT_NE(moved, nullptr);
                         EXPECT_EQ(&entry->Auftrag(), moved.get());
                         EXPECT_EQ(moved->Sekunden(), 300);
                         EXPECT_EQ(count(QStringLiteral("tLeistungZeiterfassung WHERE "
                                                        "idAuftrag = %1")
                                             .arg(to)),
                                   2);
                     }};
    });
}

TEST_P(FailedStepTest, Delete) {
    failEachStatement([this] {
        const auto order = workedOn(5003, 600);
        EXPECT_TRUE(release(*first(*order)));
        endOrder(*order);
        const std::int32_t before = idle();
        return Round{[this, order] { deleteEntry(*first(*order)); },
                     {},
                     [this, order, before] {
                         EXPECT_FALSE(session_->Auftraege().contains(order->Key()));
                         EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 0);
                         EXPECT_GE(idle(), before + 600);
                     }};
    });
}

// The manual entry joins an order the session already holds; its time comes from idle time.
TEST_P(FailedStepTest, ManualEntry) {
    workedOn(5003, 300);
    failEachStatement([this] {
        tick(600);
        const auto order = session_->AuftragZuAuftragId(5003);
        const std::int32_t seconds = order->Sekunden();
        const std::int32_t entries = order->Leistungen().Count();
        return Round{[this] { manual(5003, 600); },
                     {},
                     [=, this] {
                         EXPECT_EQ(order->Sekunden(), seconds + 600);
                         ASSERT_EQ(order->Leistungen().Count(), entries + 1);
                         // Finished, and dated without a time of day.
                         const auto made = order->Leistungen().at(entries + 1);
                         EXPECT_EQ(made->Status(), AuftragStatus_Beendet);
                         EXPECT_EQ(made->Beginn(), QDateTime(now().date(), QTime(0, 0)));
                     }};
    });
}

TEST_P(FailedStepTest, SingleBooking) {
    failEachStatement([this] { return booking(false); });
}

// A single booking books entry by entry: a failure keeps the entries booked before it.
TEST_P(FailedStepTest, SummedBookingAfterAFailedSingleBooking) {
    failEachStatement([this] { return booking(true); }, false);
}

TEST_P(FailedStepTest, SummedBooking) {
    failEachStatement([this] {
        std::vector<std::shared_ptr<cLeistung>> entries;
        for (const qint64 seconds : {600, 1200, 1800}) {
            entries.push_back(first(*released(5001, seconds)));
        }
        const std::int32_t hours = count(QStringLiteral("tLeistung WHERE dmAnzahl = 1"));
        const std::int32_t before = count(QStringLiteral("tLeistung"));
        return Round{[this] { session_->SammelBuchen(); },
                     {},
                     [=, this] {
                         EXPECT_EQ(count(QStringLiteral("tLeistung WHERE dmAnzahl = 1")),
                                   hours + 1);
                         EXPECT_EQ(count(QStringLiteral("tLeistung")), before + 2)
                             << "one service of an hour and its share";
                         for (const auto& entry : entries) {
                             EXPECT_EQ(entry->Status(), cLeistung::kStatusZeileGeloescht);
                         }
                     }};
    });
}

TEST_P(FailedStepTest, TextLineSave) {
    failEachStatement([this] {
        const auto entry = first(*workedOn(5001, 60));
        const QStringList lines =
            textLines(entry->Id()) +
            QStringList{QStringLiteral("erste Zeile"), QStringLiteral("zweite Zeile")};
        entry->TextHinzufuegen(0, lines[lines.size() - 2]);
        entry->TextHinzufuegen(0, lines.back());
        return Round{[entry] { entry->Speichern(false); },
                     {},
                     [this, entry, lines] { EXPECT_EQ(textLines(entry->Id()), lines); }};
    });
}

// The sixtieth tick saves the running stopwatch; when that fails the tick's seconds still count
// and the save is done again a minute later.
TEST_P(FailedStepTest, SavingTick) {
    failEachStatement(
        [this] {
            const auto order = startNewOrder(5001);
            ticks(59, 1);
            const auto untilSaved = [this, order] {
                do {
                    tick(1);
                } while (order->tickCounter() != 0 && !HasFatalFailure());
            };
            return Round{[this] { tick(1); }, untilSaved,
                         [this, order] {
                             EXPECT_EQ(row(order->Id())->sekunden, order->Sekunden());
                             switchTo(CAuftrag::LeerlaufKey());
                         }};
        },
        false);
}

// Another workstation holds the entry's row and then waits for the order's row, which the stop
// has just written: the server breaks the deadlock by giving up the stop, which waited longer.
// The stop is done again once the other transaction is through, and nobody sees a failure.
TEST_P(FailedStepTest, AStopTheServerGaveUpForADeadlockIsDoneAgain) {
    if (backend() != db::Backend::Postgres) {
        GTEST_SKIP() << "Verklemmungen löst nur der Server auf.";
    }
    auto auftrag = startNewOrder(5001);
    tick(30);
    const std::string orderId = std::to_string(auftrag->Id());
    const std::string entryId = std::to_string(auftrag->AktuelleLeistung()->Id());
    db::Database other(temp().target());
    const std::shared_ptr<db::Connection> andere = other.connection();
    andere->execute("BEGIN");
    andere->execute(
        "UPDATE tLeistungZeiterfassung SET Text2 = 'andere' WHERE"
        " idLeistungZeiterfassung = " +
        entryId);
    const QString blocker =
        test::tableText(other, QStringLiteral("SELECT pg_backend_pid() AS p"), {"p"});
    // Exceptions of the other workstation reach the test through the future.
    std::future<void> zweiter = std::async(std::launch::async, [&] {
        // Once the server reports the stop waiting for the entry's row, the deadlock closes.
        db::Database watcher(temp().target());
        QElapsedTimer waited;
        waited.start();
        const QString blocked = QStringLiteral(
            "SELECT COUNT(*) AS n FROM pg_stat_activity WHERE %1 = ANY(pg_blocking_pids(pid))");
        while (test::tableText(watcher, blocked.arg(blocker), {"n"}) == QLatin1String("0")) {
            if (waited.elapsed() > 30'000) {
                throw std::runtime_error("the stop never waited for the entry's row");
            }
            QThread::msleep(5);
        }
        watcher.releaseThreadConnection();
        andere->execute(
            "UPDATE tLeistungZeiterfassung SET Text2 = 'andere' WHERE"
            " idLeistungZeiterfassung = " +
            orderId);
        andere->execute("COMMIT");
    });
    bool beenden = false;
    const std::optional<OrvError> error =
        test::failureOf([&] { session_->AuftragAnhalten(beenden); });
    EXPECT_NO_THROW(zweiter.get()) << "the other workstation's transaction went through first";
    EXPECT_FALSE(error.has_value()) << error->description().toStdString();
    EXPECT_EQ(auftrag->Status(), AuftragStatus_InAktiv);
    EXPECT_EQ(row(auftrag->Id())->status, AuftragStatus_InAktiv);
    EXPECT_EQ(row(auftrag->Id())->sekunden, 30);
    EXPECT_EQ(row(first(*auftrag)->Id())->status, AuftragStatus_Beendet);
}

ORV_INSTANTIATE_FOR_BACKENDS(FailedStepTest);

}  // namespace
}  // namespace orv
