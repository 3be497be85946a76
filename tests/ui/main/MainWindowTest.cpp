#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlDatePicker.h"
#include "session/EmployeeSwitch.h"
#include "ui/controls/ctlAuftrag.h"
#include "ui/main/FrmStoppUhrWindow.h"
#include "ui/main/StoppUhrWidget.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <vector>

namespace orv::ui {
namespace {

using platform::MsgAnswer;

const QString kRecht38 = QStringLiteral(
    "Die Funktion 'vorläufige Leistung ändern' ist durch die Benutzerrechte gesperrt.");
const QString kOhneAuftrag = QStringLiteral(
    "Vorgänge ohne Auftrag werden nicht beendet und bleiben unter 'Vorgänge' stehen.\n"
    "Bitte ordnen Sie ihnen dort zuerst einen Auftrag zu: Ihre vorläufigen Leistungen "
    "könnten Sie sonst nicht mehr zuordnen, buchen oder löschen.");

// The employee at the stopwatch window of a started session.
class MainWindowTest : public test::SessionTest {
public:
    MainWindowTest() : SessionTest(false) {}

    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        platform_->qtWindows().FrmStoppUhr = [this] {
            auto window = std::make_unique<FrmStoppUhrWindow>(*platform_);
            window_ = window->widget();
            return window;
        };
    }
    void oeffnen(std::int32_t employee = office::demo::kEmployeeWithRights) {
        start(employee);
        ASSERT_NE(window_, nullptr);
        test::showActive(*window_);
    }

    QTableView* grid(const char* name) { return test::child<QTableView>(*window_, name); }
    QTableView* auftraege() { return grid("grdAuftraege"); }
    QTableView* leistungen() { return grid("grdLeistungen"); }
    QAction* tool(const char* key) { return test::child<QAction>(*window_, key); }
    QPushButton* knopf(const char* name) { return test::child<QPushButton>(*window_, name); }
    QString label(const char* name) { return test::child<QLabel>(*window_, name)->text(); }
    void klick(const char* name) {
        QPushButton* button = knopf(name);
        ASSERT_TRUE(button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void tab(int index) {
        test::child<QTabWidget>(*window_, "tabStoppUhr")->setCurrentIndex(index);
    }
    QPoint mitte(QTableView* g, int row) {
        return g->visualRect(g->model()->index(row, 2)).center();
    }
    void zeile(QTableView* g, int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, mitte(g, row));
    }
    // The row of the order in the orders grid; -1 when it has none.
    int zeileVon(const QString& key) {
        QAbstractItemModel* m = auftraege()->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 0).data().toString() == key) {
                return r;
            }
        }
        return -1;
    }
    std::vector<int> fett() {
        std::vector<int> rows;
        QAbstractItemModel* m = auftraege()->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 5).data(Qt::FontRole).value<QFont>().bold()) {
                rows.push_back(r);
            }
        }
        return rows;
    }
    std::vector<int> markiert() {
        std::vector<int> rows;
        for (const QModelIndex& i : leistungen()->selectionModel()->selectedRows()) {
            rows.push_back(i.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QStringList gesagt() {
        QStringList out;
        for (const test::AskedBox& box : platform_->messageBoxes().asked()) {
            out << box.title + QStringLiteral(": ") + box.text;
        }
        for (const auto& report : platform_->errorReports()) {
            out << QStringLiteral("Fehler: ") + report.description;
        }
        return out;
    }
    // Finished entries for the entries tab: worked on the office orders (0: none), one each.
    void erledigt(std::initializer_list<std::int32_t> auftragIds) {
        for (std::int32_t id : auftragIds) {
            if (id == 0) {
                switchTo(QString());
                tick(60);
                switchTo(CAuftrag::LeerlaufKey());
            } else {
                workedOn(id, 60);
            }
        }
    }

    QPointer<StoppUhrWidget> window_;
};

// What each row offers: the idle row nothing of an order, the running order's row no start.
struct Angebot {
    bool laeuft;        // the second order runs; else the idle stopwatch
    const char* zeile;  // "p0", "laeuft" (the second order) or "anderer" (the first)
    bool start, stopp, beenden;
};
constexpr Angebot kAngebote[] = {
    {false, "p0", false, false, false},   {false, "anderer", true, false, true},
    {false, "laeuft", true, false, true}, {true, "laeuft", false, true, true},
    {true, "anderer", true, false, true}, {true, "p0", false, false, false},
};

class MainWindow : public MainWindowTest {};

TEST_P(MainWindow, ButtonsAndToolsFollowTheCurrentRowAndOneRowIsBold) {
    oeffnen();
    // Nothing runs at the start: the idle row is current and bold, and offers nothing.
    EXPECT_EQ(auftraege()->currentIndex().row(), 0);
    EXPECT_FALSE(knopf("btnStart")->isEnabled());
    auto anderer = workedOn(5001, 10);
    auto laeuft = startNewOrder(5002);
    switchTo(CAuftrag::LeerlaufKey());
    tab(1);
    tab(0);
    EXPECT_EQ(auftraege()->currentIndex().row(), 0) << "no order runs: the idle row is current";
    for (const Angebot& a : kAngebote) {
        const QString key = QString::fromLatin1(a.zeile) == QLatin1String("laeuft") ? laeuft->Key()
                            : QString::fromLatin1(a.zeile) == QLatin1String("anderer")
                                ? anderer->Key()
                                : CAuftrag::LeerlaufKey();
        SCOPED_TRACE(key.toStdString() + (a.laeuft ? " laeuft" : " leerlauf"));
        if (a.laeuft && !session_->AuftragLaeuft()) {
            zeile(auftraege(), zeileVon(laeuft->Key()));
            klick("btnStart");
        }
        zeile(auftraege(), zeileVon(key));
        EXPECT_EQ(knopf("btnStart")->isEnabled(), a.start);
        EXPECT_EQ(tool("mnuStart")->isEnabled(), a.start);
        EXPECT_EQ(knopf("btnStopp")->isEnabled(), a.stopp);
        EXPECT_EQ(tool("mnuStop")->isEnabled(), a.stopp);
        EXPECT_EQ(knopf("btnBeenden")->isEnabled(), a.beenden);
        EXPECT_EQ(tool("mnuBeenden")->isEnabled(), a.beenden);
        EXPECT_EQ(tool("mnuAuftragAendern")->isEnabled(), a.beenden);
        EXPECT_EQ(fett(), std::vector<int>{a.laeuft ? zeileVon(laeuft->Key()) : 0});

        // Enter and double click on a row that offers no start change nothing.
        const std::int32_t eintraege = laeuft->Leistungen().Count() + anderer->Leistungen().Count();
        if (!a.start) {
            QTest::keyClick(auftraege(), Qt::Key_Return);
            QTest::mouseDClick(auftraege()->viewport(), Qt::LeftButton, {},
                               mitte(auftraege(), zeileVon(key)));
            EXPECT_EQ(laeuft->Leistungen().Count() + anderer->Leistungen().Count(), eintraege);
            EXPECT_EQ(session_->AuftragLaeuft(), a.laeuft);
        }
        tick(5);
        expectBalanced();
    }
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
}

TEST_P(MainWindow, StartMovesTheSecondsFromIdleToTheChosenOrderAndTheClockCountsOnMinimised) {
    oeffnen();
    auto auftrag = workedOn(5001, 60);
    tab(1);
    tab(0);
    tick(25);
    zeile(auftraege(), zeileVon(auftrag->Key()));
    // A start the database refuses: the idle stopwatch counts on, the counting guard is on.
    faults().failStatement(1);
    klick("btnStart");
    faults().clear();
    EXPECT_EQ(platform_->errorReports().size(), 1u);
    EXPECT_TRUE(session_->zeitzaehlungAktiv());
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(fett(), std::vector<int>{0});
    tick(5);
    klick("btnStart");
    EXPECT_TRUE(session_->zeitzaehlungAktiv());
    tick(45);
    EXPECT_EQ(auftrag->Sekunden(), 105);
    EXPECT_EQ(idle(), 30);
    EXPECT_EQ(fett(), std::vector<int>{zeileVon(auftrag->Key())});
    EXPECT_EQ(auftraege()->model()->index(zeileVon(auftrag->Key()), 13).data().toString(),
              "00:01:45");
    EXPECT_EQ(label("lblLeerlauf"), "00:00:30");
    EXPECT_EQ(label("lblAktiv"), "00:01:45");
    expectBalanced();
    expectRowsMatchObjects();

    // The close box puts the window aside; the clock counts on and the window shows it.
    window_->close();
    EXPECT_TRUE(window_->isMinimized());
    tick(15);
    EXPECT_EQ(label("lblAktiv"), "00:02:00");
    // The foreground correction leaves a minimised window so.
    window_->NachVorn();
    EXPECT_TRUE(window_->isMinimized());

    klick("btnStopp");
    tick(10);
    EXPECT_EQ(idle(), 40);
    EXPECT_EQ(fett(), std::vector<int>{0});
    expectBalanced();
    EXPECT_EQ(gesagt().size(), 1) << gesagt().join('\n').toStdString();
}

TEST_P(MainWindow, TelefonStartsANewOrderWithTheTimeOfTheCall) {
    oeffnen();
    tick(3725);  // 09:02:05
    klick("ctlTelefon");
    auto neu = session_->AktuellerAuftrag();
    ASSERT_NE(neu, nullptr);
    EXPECT_TRUE(session_->AuftragLaeuft());
    EXPECT_EQ(neu->LeistungsTextVorgabe(), "Telefonat ab 09:02:05");
    EXPECT_EQ(auftraege()->currentIndex().row(), zeileVon(neu->Key()));
    EXPECT_EQ(fett(), std::vector<int>{zeileVon(neu->Key())});
    tick(20);
    EXPECT_EQ(neu->Sekunden(), 20);
    const auto r = row(neu->Id());
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->status, AuftragStatus_Aktiv);
    expectBalanced();
}

TEST_P(MainWindow, DayClosingEndsEveryOrderAndShowsTheirEntries) {
    oeffnen();
    erledigt({5001, 5002});
    auto laeuft = startNewOrder(5003);
    tick(30);
    tab(1);
    tab(0);
    klick("ctlTagesAbschluss");
    EXPECT_EQ(test::child<QTabWidget>(*window_, "tabStoppUhr")->currentIndex(), 1);
    EXPECT_EQ(leistungen()->model()->rowCount(), 3);
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(row(laeuft->Id())->status, AuftragStatus_Beendet);
    tab(0);
    EXPECT_EQ(auftraege()->model()->rowCount(), 1) << "only the idle order is left";
    tick(10);
    expectBalanced();
    expectRowsMatchObjects();
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
}

TEST_P(MainWindow, WithoutRight38AStopwatchWithoutOrderStaysOpenAndEntriesCannotBeChanged) {
    oeffnen(office::demo::kEmployeeWithoutRights);
    erledigt({5001});
    QString key;
    ASSERT_TRUE(stoppuhrWechseln(*session_, key, true));
    key = session_->AktuellerAuftrag()->Key();
    tick(20);
    tab(1);
    tab(0);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("ctlTagesAbschluss");
    EXPECT_EQ(gesagt(), QStringList{"Vorgang beenden: " + kOhneAuftrag}) << "said once";
    EXPECT_EQ(test::child<QTabWidget>(*window_, "tabStoppUhr")->currentIndex(), 1)
        << "the order with an office order was ended";
    tab(0);
    ASSERT_NE(zeileVon(key), -1);
    EXPECT_EQ(session_->Auftrag(key)->Status(), AuftragStatus_Aktiv);
    zeile(auftraege(), zeileVon(key));
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("btnBeenden");
    EXPECT_EQ(gesagt().size(), 2);
    EXPECT_EQ(gesagt().last(), "Vorgang beenden: " + kOhneAuftrag);
    EXPECT_EQ(session_->Auftrag(key)->Status(), AuftragStatus_Aktiv);

    tab(1);
    ASSERT_EQ(leistungen()->model()->rowCount(), 1);
    zeile(leistungen(), 0);
    for (const char* t : {"mnuLeistungBearbeiten", "mnuLeistungLoeschen", "mnuAuftragAendern",
                          "mnuNeu", "mnuLeistungUmbuchen"}) {
        EXPECT_FALSE(tool(t)->isEnabled()) << t;
        EXPECT_EQ(tool(t)->toolTip(), kRecht38) << t;
    }
    EXPECT_FALSE(knopf("ctlLoeschen")->isEnabled());
    EXPECT_FALSE(knopf("ctlSammelbuchung")->isEnabled());
    EXPECT_TRUE(knopf("ctlEinzelBuchung")->isEnabled());
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    QTest::mouseDClick(leistungen()->viewport(), Qt::LeftButton, {}, mitte(leistungen(), 0));
    EXPECT_EQ(gesagt().last(), "vorläufige Leistung bearbeiten: " + kRecht38);
    EXPECT_EQ(platform_->frmLeistung().asked(), 0);
    // Back on the orders, a new stopwatch may be started again.
    tab(0);
    EXPECT_TRUE(tool("mnuNeu")->isEnabled());
    EXPECT_EQ(tool("mnuNeu")->text(), "neuen Vorgang anlegen");
    expectBalanced();
}

// An edited entry shows its new time; the seconds come from the idle time.
TEST_P(MainWindow, EditingAnEntryShowsItsNewTime) {
    oeffnen();
    tick(100);
    erledigt({5001});
    tab(1);
    platform_->frmLeistung().answer(
        test::LeistungAnzeigenAnswer{test::outcome::kGeaendert, 90, std::nullopt});
    zeile(leistungen(), 0);
    QTest::mouseDClick(leistungen()->viewport(), Qt::LeftButton, {}, mitte(leistungen(), 0));
    EXPECT_EQ(leistungen()->model()->index(0, 13).data().toString(), "00:01:30");
    EXPECT_EQ(idle(), 70);
    expectBalanced();
    expectRowsMatchObjects();
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
}

// Deleting asks in the singular or plural, and deletes only what was marked.
TEST_P(MainWindow, DeletingAsksForTheMarkedRowsOnly) {
    oeffnen();
    erledigt({5001, 5002, 5003, 5011});
    tab(1);
    ASSERT_EQ(leistungen()->model()->rowCount(), 4);
    struct Fall {
        std::vector<int> zeilen;
        MsgAnswer antwort;
        const char* frage;
        int uebrig;
    };
    const Fall faelle[] = {
        {{1}, MsgAnswer::No, "Möchten Sie die ausgewählte Leistung wirklich löschen?", 4},
        {{0, 2, 3}, MsgAnswer::No, "Möchten Sie die ausgewählten Leistungen wirklich löschen?", 4},
        {{0, 2}, MsgAnswer::Yes, "Möchten Sie die ausgewählten Leistungen wirklich löschen?", 2},
        {{0}, MsgAnswer::Yes, "Möchten Sie die ausgewählte Leistung wirklich löschen?", 1},
    };
    for (const Fall& f : faelle) {
        zeile(leistungen(), f.zeilen[0]);
        for (std::size_t i = 1; i < f.zeilen.size(); ++i) {
            zeile(leistungen(), f.zeilen[i], Qt::ControlModifier);
        }
        EXPECT_EQ(markiert(), f.zeilen);
        platform_->messageBoxes().answer(f.antwort);
        klick("ctlLoeschen");
        EXPECT_EQ(gesagt().last(), QStringLiteral("vorläufige Leistung löschen: ") + f.frage);
        EXPECT_EQ(leistungen()->model()->rowCount(), f.uebrig);
        expectBalanced();
        expectRowsMatchObjects();
    }
}

TEST_P(MainWindow, BookingFiveMarkedEntriesOfWhichTwoHaveNoOrderBooksThreeAndSaysTwo) {
    oeffnen();
    erledigt({5001, 0, 5002, 0, 5003});
    tab(1);
    ASSERT_EQ(leistungen()->model()->rowCount(), 5);
    zeile(leistungen(), 0);
    QTest::keyClick(leistungen(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(markiert(), (std::vector<int>{0, 1, 2, 3, 4}));
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("ctlEinzelBuchung");
    EXPECT_EQ(gesagt(), QStringList{"vorläufige Leistungen buchen: 2 Leistungen wurden nicht "
                                    "gebucht, da ihnen kein Auftrag zugeordnet ist."});
    EXPECT_EQ(services().split('\n', Qt::SkipEmptyParts).size(), 3) << services().toStdString();
    EXPECT_EQ(leistungen()->model()->rowCount(), 2);
    expectBalanced();
    expectRowsMatchObjects();

    // One left without order: the singular notice.
    zeile(leistungen(), 1);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("ctlEinzelBuchung");
    EXPECT_EQ(gesagt().last(),
              "vorläufige Leistungen buchen: 1 Leistung wurde nicht gebucht, da "
              "ihr kein Auftrag zugeordnet ist.");
}

// A right click marks the row under the mouse unless it is marked; the menu shows the tab's
// tools; a tool of the other tab does nothing.
TEST_P(MainWindow, ContextMenuActsOnlyOnWhatIsSeenMarked) {
    oeffnen();
    erledigt({5001, 5002, 5003});
    tab(1);
    zeile(leistungen(), 0);
    zeile(leistungen(), 1, Qt::ControlModifier);
    QTest::mousePress(leistungen()->viewport(), Qt::RightButton, {}, mitte(leistungen(), 1));
    EXPECT_EQ(markiert(), (std::vector<int>{0, 1})) << "a marked row keeps the marking";
    auto* menu = test::child<QMenu>(*window_, "mnuPopUpAuftraege");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(tool("mnuBuchenEinzel")->isVisible());
    EXPECT_FALSE(tool("mnuStart")->isVisible());
    menu->close();
    QTest::mousePress(leistungen()->viewport(), Qt::RightButton, {}, mitte(leistungen(), 2));
    EXPECT_EQ(markiert(), std::vector<int>{2}) << "an unmarked row becomes the only marked one";
    EXPECT_EQ(leistungen()->currentIndex().row(), 2);
    menu->close();

    tab(0);
    QTest::mousePress(auftraege()->viewport(), Qt::RightButton, {}, mitte(auftraege(), 0));
    EXPECT_TRUE(tool("mnuStart")->isVisible());
    EXPECT_FALSE(tool("mnuLeistungLoeschen")->isVisible());
    menu->close();
    tool("mnuLeistungLoeschen")->trigger();
    tool("mnuBuchenEinzel")->trigger();
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
    tab(1);
    EXPECT_EQ(leistungen()->model()->rowCount(), 3);
    EXPECT_TRUE(services().isEmpty());
}

// The focus catchers at the end of each panel never send the focus to a disabled control.
TEST_P(MainWindow, FocusCatchersAndClosingFromInsideACommand) {
    oeffnen();
    erledigt({5001});
    tab(1);
    test::child<QLineEdit>(*window_, "txtDummyPicButtonsLeistung")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), leistungen());
    tab(0);
    test::child<QLineEdit>(*window_, "txtDummyPicButtons")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QApplication::focusWidget(),
              test::child<QTabWidget>(*window_, "tabStoppUhr")->tabBar());
    klick("ctlTelefon");
    test::child<QLineEdit>(*window_, "txtDummyPicButtons")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(
        test::child<QWidget>(*window_, "ctlAuftrag1")->isAncestorOf(QApplication::focusWidget()))
        << "an order runs: its order control takes the focus";
    klick("btnStopp");

    // The host ends the session while the delete question is open: the window goes after it.
    tab(1);
    zeile(leistungen(), 0);
    platform_->messageBoxes().answer([&](const test::AskedBox&) {
        // While the question is open, other commands are refused.
        tool("mnuLeistungLoeschen")->trigger();
        QTest::mouseClick(knopf("ctlEinzelBuchung"), Qt::LeftButton);
        EXPECT_EQ(platform_->messageBoxes().asked().size(), 1u);
        EXPECT_TRUE(services().isEmpty());
        platform_->messageBoxes().answer(MsgAnswer::Yes);  // the day closing comes later
        EXPECT_TRUE(session_->Beenden());
        EXPECT_NE(window_, nullptr) << "not deleted under the running command";
        return MsgAnswer::No;
    });
    klick("ctlLoeschen");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window_, nullptr);
}

// A period changed in the order control but not yet taken is taken before a toolbar command.
TEST_P(MainWindow, ACommandTakesTheHalfTypedOrderKeyFirst) {
    oeffnen();
    auto auftrag = workedOn(5001, 30);
    tab(1);
    tab(0);
    zeile(auftraege(), zeileVon(auftrag->Key()));
    klick("btnStart");
    tick(20);
    auto* termin = test::child<office::ctlDatePicker>(*window_, "ctlTermin");
    termin->dateEdit()->setFocus(Qt::TabFocusReason);
    termin->Monat(2);
    termin->Jahr(2026);
    tool("mnuStop")->trigger();
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5002);
    EXPECT_FALSE(session_->AuftragLaeuft());
    tick(10);
    EXPECT_EQ(auftrag->Sekunden(), 50);
    EXPECT_EQ(idle(), 10);
    expectBalanced();
    expectRowsMatchObjects();
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
}

ORV_INSTANTIATE_FOR_BACKENDS(MainWindow);

}  // namespace
}  // namespace orv::ui
