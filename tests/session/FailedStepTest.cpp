// A step that fails after it has written: its transaction is rolled back and the session's
// objects return to what they held before, so that objects and rows agree and the step can be
// done again, counting once. The fault matrix fails every statement of each step that writes in
// turn, not only the commit, and has the server give each up once as it does for a deadlock.

#include "SessionTestSupport.h"

#include "persistence/FaultInjector.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace orv {
namespace {

using test::LeistungAnzeigenAnswer;
using test::outcome::kGeaendert;

// One round of a step: the step itself, what it must have done, once, when it went through, and
// how the user does it again after a failure (the step itself when empty).
struct Round {
    Round(std::function<void()> s, std::function<void()> d, std::function<void()> a = {})
        : step(std::move(s)), done(std::move(d)), again(std::move(a)) {}
    std::function<void()> step, done, again;
};

class FailedStepTest : public test::SessionTest {
protected:
    FailedStepTest() : SessionTest(true, 3600) {}

    // Objects and rows as a user and the office would see them.
    QString state() {
        const auto& current = session_->AktuellerAuftrag();
        const auto* released = session_->FreigegebeneLeistungen();
        return QStringList{
            objects(*session_),
            QStringLiteral("%1|%2|%3|%4")
                .arg(current ? current->Key() : QString())
                .arg(int(session_->AuftragLaeuft()))
                .arg(session_->AuftragsSekunden())
                .arg(released ? released->Count() : -1),
            table(QStringLiteral("SELECT * FROM tLeistungZeiterfassung ORDER BY 1"),
                  {"idLeistungZeiterfassung", "Status", "Sekunden", "idAuftrag", "VorgangParentId",
                   "Ende"}),
            table(QStringLiteral("SELECT * FROM tLeistungZeiterfassungTexte ORDER BY 1"),
                  {"flLeistungZeiterfassung", "LeistungZeiterfassungText"}),
            table(QStringLiteral("SELECT * FROM tLeistung ORDER BY idLeistung"),
                  {"flMitarbeiter", "flAuftrag", "dmAnzahl"}),
            QString::number(count(QStringLiteral("tLeistungText")))}
            .join(QLatin1Char('\n'));
    }

    // Fails the step's first statement, then its second, and so on until the step has fewer
    // statements. Each statement fails, and then the server gives it up once as for a deadlock:
    // the step is done again by itself, or fails. After a failure the user was told, objects and
    // rows are as before, the clock counts on, and the step done again does its work once.
    void failEachStatement(const std::function<Round()>& prepare, bool objectsKeepTheStep = true) {
        for (int k = 1;; ++k) {
            for (const bool deadlock : {false, true}) {
                SCOPED_TRACE(testing::Message() << "statement " << k << " deadlock " << deadlock);
                const Round round = prepare();
                const QString before = state();
                const std::size_t reports = platform_->errorReports().size();
                const int seen = faults().statementsSeen();
                if (deadlock) {
                    faults().atStatement(k, [] {
                        OrvError error(err::kDatabase, QStringLiteral("Server"),
                                       QStringLiteral("Verklemmung erkannt"));
                        error.setRetryable(true);
                        throw error;
                    });
                } else {
                    faults().failStatement(k);
                }
                const std::optional<OrvError> error = test::failureOf(round.step);
                const bool reached = faults().statementsSeen() - seen >= k;
                faults().clear();
                const bool failed = error.has_value() || platform_->errorReports().size() > reports;
                if (!reached) {
                    ASSERT_FALSE(failed);
                    round.done();
                    EXPECT_GE(k, 4) << "a step that writes has its begin, a write and its commit";
                    return;
                }
                EXPECT_TRUE(failed || deadlock) << "a failure passed for success";
                if (failed) {
                    if (objectsKeepTheStep) {
                        EXPECT_EQ(state().toStdString(), before.toStdString());
                    }
                    expectBalanced();
                    expectRowsMatchObjects();
                    tick(1);
                    const std::optional<OrvError> retry =
                        test::failureOf(round.again ? round.again : round.step);
                    ASSERT_FALSE(retry.has_value()) << retry->description().toStdString();
                }
                round.done();
                expectBalanced();
                expectRowsMatchObjects();
                if (HasFatalFailure()) {
                    return;
                }
            }
        }
    }

    // Released entries, a stretch each on the office order with a text line, booked singly
    // (a failure keeps the entries booked before it, and a summed booking does the rest) or
    // summed: each entry gone, the services that many more, and a summed hour among them.
    Round booking(std::vector<std::pair<std::int32_t, qint64>> stretches, bool single,
                  int services) {
        std::vector<std::shared_ptr<cLeistung>> entries;
        for (const auto& [auftragId, seconds] : stretches) {
            entries.push_back(first(*workedOn(auftragId, seconds)));
            entries.back()->TextHinzufuegen(0, QStringLiteral("Belege %1").arg(seconds));
            entries.back()->Speichern(false);
            EXPECT_TRUE(release(*entries.back()));
        }
        const std::int32_t before = count(QStringLiteral("tLeistung"));
        const std::int32_t hours = count(QStringLiteral("tLeistung WHERE dmAnzahl = 1"));
        const std::function<void()> summe = [this] { session_->SammelBuchen(); };
        return {single ? [this] { session_->EinzelBuchen(); } : summe,
                [=, this] {
                    EXPECT_EQ(count(QStringLiteral("tLeistung")), before + services);
                    EXPECT_EQ(count(QStringLiteral("tLeistung WHERE dmAnzahl = 1")),
                              hours + !single);
                    for (const auto& entry : entries) {
                        EXPECT_EQ(entry->Status(), cLeistung::kStatusZeileGeloescht);
                    }
                },
                summe};
    }
};

TEST_P(FailedStepTest, Stop) {
    failEachStatement([this] {
        const auto order = startNewOrder(5001);
        tick(30);
        return Round{[this] { stop(); },
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
                     [this, orders] {
                         EXPECT_EQ(session_->Auftraege().Count(), orders + 1);
                         tick(5);
                         EXPECT_EQ(session_->AktuellerAuftrag()->Sekunden(), 5);
                         switchTo(CAuftrag::LeerlaufKey());
                     }};
    });
}

// The edit moves the entry to another office order and takes the time it adds from idle time;
// the order it left starts again as any other.
TEST_P(FailedStepTest, EditAndMove) {
    int target = 5002;
    failEachStatement([this, &target] {
        const auto entry = first(*workedOn(5001, 600));
        tick(300);
        const auto from = entry->Auftrag().shared_from_this();
        const std::int32_t to = target++;
        platform_->frmLeistung().answerWith(LeistungAnzeigenAnswer{kGeaendert, 900, to});
        return Round{[this, entry] { openEdit(*entry); },
                     [this, entry, from, to] {
                         const auto moved = session_->AuftragZuAuftragId(to);
                         ASSERT_NE(moved, nullptr);
                         EXPECT_EQ(&entry->Auftrag(), moved.get());
                         EXPECT_EQ(moved->Sekunden(), 900);
                         // The order the entry left counts in an entry of its own again.
                         switchTo(from->Key());
                         tick(5);
                         switchTo(CAuftrag::LeerlaufKey());
                         EXPECT_EQ(from->Sekunden(), 5);
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

TEST_P(FailedStepTest, SingleBookingAndASummedOneAfterItFailed) {
    failEachStatement([this] { return booking({{5001, 900}, {5003, 900}}, true, 4); }, false);
}

// Three entries of an hour together: one service of an hour and its share.
TEST_P(FailedStepTest, SummedBooking) {
    failEachStatement([this] {
        return booking({{5001, 600}, {5001, 1200}, {5001, 1800}}, false, 2);
    });
}

TEST_P(FailedStepTest, TextLineSave) {
    failEachStatement([this] {
        const auto entry = first(*workedOn(5001, 60));
        const QStringList lines =
            textLines(entry->Id()) + QStringList{QStringLiteral("erste"), QStringLiteral("zweite")};
        entry->TextHinzufuegen(0, lines[lines.size() - 2]);
        entry->TextHinzufuegen(0, lines.back());
        return Round{[entry] { entry->Speichern(false); },
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
            return Round{[this] { tick(1); },
                         [this, order] {
                             EXPECT_EQ(row(order->Id())->sekunden, order->Sekunden());
                             switchTo(CAuftrag::LeerlaufKey());
                         },
                         untilSaved};
        },
        false);
}

ORV_INSTANTIATE_FOR_BACKENDS(FailedStepTest);

}  // namespace
}  // namespace orv
