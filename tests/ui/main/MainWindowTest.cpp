#include "WidgetHarness.h"
#include "main/StopwatchWindowSupport.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlDatePicker.h"

#include <QAction>
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
    "Vorgang beenden: Vorgänge ohne Auftrag werden nicht beendet und bleiben unter 'Vorgänge' "
    "stehen.\nBitte ordnen Sie ihnen dort zuerst einen Auftrag zu: Ihre vorläufigen Leistungen "
    "könnten Sie sonst nicht mehr zuordnen, buchen oder löschen.");

// The employee at the stopwatch window of a started session.
class MainWindow : public test::SessionTest {
public:
    MainWindow() : SessionTest(false) {}

    void oeffnen(std::int32_t employee = office::demo::kEmployeeWithRights) {
        test::echtesStoppuhrFenster(*platform_, window_);
        start(employee);
        test::fensterVorn(window_);
    }

    QTableView* auftraege() { return test::child<QTableView>(*window_, "grdAuftraege"); }
    QTableView* leistungen() { return test::child<QTableView>(*window_, "grdLeistungen"); }
    QTabWidget* tabs() { return test::child<QTabWidget>(*window_, "tabStoppUhr"); }
    QAction* tool(const char* key) { return test::child<QAction>(*window_, key); }
    QPushButton* knopf(const char* name) { return test::child<QPushButton>(*window_, name); }
    void klick(const char* name) {
        ASSERT_TRUE(knopf(name)->isEnabled()) << name;
        QTest::mouseClick(knopf(name), Qt::LeftButton);
    }
    // Away to the other tab and back, as the employee refreshes the grids.
    void tab(int index) {
        tabs()->setCurrentIndex(1 - index);
        tabs()->setCurrentIndex(index);
    }
    static QPoint mitte(QTableView* g, int r) {
        return g->visualRect(g->model()->index(r, 2)).center();
    }
    static void zeile(QTableView* g, int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, mitte(g, row));
    }
    static void rechts(QTableView* g, int row) {
        QTest::mousePress(g->viewport(), Qt::RightButton, {}, mitte(g, row));
    }
    static QString zeit(QTableView* g, int r) { return g->model()->index(r, 13).data().toString(); }
    // The row of the order in the orders grid; -1 when it has none.
    int zeileVon(const QString& key) {
        const auto treffer = auftraege()->model()->match(auftraege()->model()->index(0, 0),
                                                         Qt::DisplayRole, key, 1, Qt::MatchExactly);
        return treffer.isEmpty() ? -1 : treffer.front().row();
    }
    std::vector<int> fett() {
        std::vector<int> rows;
        for (int r = 0; r < auftraege()->model()->rowCount(); ++r) {
            if (auftraege()->model()->index(r, 5).data(Qt::FontRole).value<QFont>().bold()) {
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
    // Each box and error report the employee saw: "title: text".
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
    // Finished entries for the entries tab: a minute each on the office orders (0: none).
    void erledigt(std::initializer_list<std::int32_t> auftragIds) {
        for (std::int32_t id : auftragIds) {
            workedOn(id, 60);
        }
    }
    void pruefeSalden() {
        expectBalanced();
        expectRowsMatchObjects();
    }

    QPointer<StoppUhrWidget> window_;
};

// What each row offers: the idle row nothing of an order, the running order's row no start; and
// the one bold row is the stopwatch that counts.
struct Angebot {
    bool laeuft;  // the second order runs; else the idle stopwatch
    int zeile;    // 0 the idle row, 1 the first order's, 2 the second order's
    bool start, stopp, beenden;
};
constexpr Angebot kAngebote[] = {
    {false, 0, false, false, false}, {false, 1, true, false, true}, {false, 2, true, false, true},
    {true, 2, false, true, true},    {true, 1, true, false, true},  {true, 0, false, false, false},
};

TEST_P(MainWindow, ButtonsAndToolsFollowTheCurrentRowAndOneRowIsBold) {
    oeffnen();
    EXPECT_EQ(auftraege()->currentIndex().row(), 0) << "nothing runs: the idle row is current";
    EXPECT_FALSE(knopf("btnStart")->isEnabled());
    const QString keys[] = {CAuftrag::LeerlaufKey(), workedOn(5001, 10)->Key(),
                            startNewOrder(5002)->Key()};
    switchTo(CAuftrag::LeerlaufKey());
    tab(0);
    EXPECT_EQ(auftraege()->currentIndex().row(), 0);
    for (const Angebot& a : kAngebote) {
        SCOPED_TRACE(testing::Message() << a.zeile << (a.laeuft ? " laeuft" : " leerlauf"));
        if (a.laeuft && !session_->AuftragLaeuft()) {
            zeile(auftraege(), zeileVon(keys[2]));
            klick("btnStart");
        }
        zeile(auftraege(), zeileVon(keys[a.zeile]));
        EXPECT_EQ(knopf("btnStart")->isEnabled(), a.start);
        EXPECT_EQ(tool("mnuStart")->isEnabled(), a.start);
        EXPECT_EQ(knopf("btnStopp")->isEnabled(), a.stopp);
        EXPECT_EQ(tool("mnuStop")->isEnabled(), a.stopp);
        EXPECT_EQ(knopf("btnBeenden")->isEnabled(), a.beenden);
        EXPECT_EQ(tool("mnuBeenden")->isEnabled(), a.beenden);
        EXPECT_EQ(tool("mnuAuftragAendern")->isEnabled(), a.beenden);
        EXPECT_EQ(fett(), std::vector<int>{a.laeuft ? zeileVon(keys[2]) : 0});
        // Enter and double click on a row that offers no start change nothing.
        const QString vorher = objects(*session_);
        if (!a.start) {
            QTest::keyClick(auftraege(), Qt::Key_Return);
            QTest::mouseDClick(auftraege()->viewport(), Qt::LeftButton, {},
                               mitte(auftraege(), zeileVon(keys[a.zeile])));
            EXPECT_EQ(objects(*session_), vorher);
        }
        tick(5);
        expectBalanced();
    }
    // With right 38 the day closing ends every order, the running one too, and says nothing.
    klick("ctlTagesAbschluss");
    tabs()->setCurrentIndex(0);
    EXPECT_EQ(auftraege()->model()->rowCount(), 1) << "only the idle order is left";
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
    pruefeSalden();
}

// A Start failing at any of its statements (the check of the order control's key, the switch, the
// refresh) is reported and leaves the guard on, every second counted, and one bold row; done
// again, Start moves the seconds to the order. A command first takes a half-typed order key; the
// close box puts the window aside while the clock counts on; Telefon starts a new order with the
// time of the call.
TEST_P(MainWindow, StartMovesTheSecondsFromIdleToTheChosenOrderAndTheClockCountsOnMinimised) {
    oeffnen();
    auto auftrag = workedOn(5001, 60);
    tab(0);
    std::size_t fehler = 0;
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "statement " << k);
        zeile(auftraege(), zeileVon(auftrag->Key()));
        const int gesehen = faults().statementsSeen();
        faults().failStatement(k);
        klick("btnStart");
        const bool erreicht = faults().statementsSeen() - gesehen >= k;
        faults().clear();
        EXPECT_TRUE(session_->zeitzaehlungAktiv());
        const int zaehlt = session_->AuftragLaeuft() ? zeileVon(auftrag->Key()) : 0;
        EXPECT_EQ(fett(), std::vector<int>{zaehlt});
        if (!erreicht) {
            break;
        }
        EXPECT_EQ(platform_->errorReports().size(), ++fehler);
        tick(1);
        pruefeSalden();
        if (session_->AuftragLaeuft()) {
            switchTo(CAuftrag::LeerlaufKey());
        }
    }
    ASSERT_TRUE(session_->AuftragLaeuft());
    const std::int32_t basis = auftrag->Sekunden();
    const std::int32_t leer = idle();
    const auto uhr = [](int s) { return QTime(0, 0).addSecs(s).toString("hh:mm:ss"); };
    tick(45);
    EXPECT_EQ(auftrag->Sekunden(), basis + 45);
    EXPECT_EQ(idle(), leer);
    EXPECT_EQ(fett(), std::vector<int>{zeileVon(auftrag->Key())});
    EXPECT_EQ(zeit(auftraege(), zeileVon(auftrag->Key())), uhr(basis + 45));
    EXPECT_EQ(test::child<QLabel>(*window_, "lblAktiv")->text(), uhr(basis + 45));
    pruefeSalden();

    // Another period typed into the order control, not yet taken: the toolbar's Stop takes it.
    auto* termin = test::child<office::ctlDatePicker>(*window_, "ctlTermin");
    termin->dateEdit()->setFocus(Qt::TabFocusReason);
    termin->Monat(2);
    termin->Jahr(2026);
    tool("mnuStop")->trigger();
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5002);
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(fett(), std::vector<int>{0});

    window_->close();
    EXPECT_TRUE(window_->isMinimized());
    tick(10);
    EXPECT_EQ(test::child<QLabel>(*window_, "lblLeerlauf")->text(), uhr(leer + 10));
    window_->NachVorn();
    EXPECT_TRUE(window_->isMinimized()) << "the foreground correction leaves it so";
    klick("ctlTelefon");
    auto neu = session_->AktuellerAuftrag();
    ASSERT_TRUE(neu != nullptr && session_->AuftragLaeuft());
    EXPECT_EQ(neu->LeistungsTextVorgabe(), "Telefonat ab " + now().toString("hh:mm:ss"));
    EXPECT_EQ(auftraege()->currentIndex().row(), zeileVon(neu->Key()));
    EXPECT_EQ(fett(), std::vector<int>{zeileVon(neu->Key())});
    tick(20);
    EXPECT_EQ(neu->Sekunden(), 20);
    EXPECT_EQ(auftrag->Sekunden(), basis + 45);
    EXPECT_EQ(row(neu->Id())->status, AuftragStatus_Aktiv);
    pruefeSalden();
    EXPECT_EQ(gesagt().size(), fehler) << gesagt().join('\n').toStdString();
}

// The day closing ends every order, the running one too, and shows their entries; without
// right 38 a stopwatch without an office order stays open on the orders tab, the employee is told
// once, and Beenden refuses it too. The entries tab then refuses every change with the right's
// tooltip and box.
TEST_P(MainWindow, DayClosingEndsEveryOrderButWithoutRight38NotOneWithoutOfficeOrder) {
    oeffnen(office::demo::kEmployeeWithoutRights);
    erledigt({5001});
    const QString ohne = workedOn(0, 60)->Key();
    const auto laeuft = startNewOrder(5003);
    tick(30);
    tab(0);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("ctlTagesAbschluss");
    EXPECT_EQ(gesagt(), QStringList{kOhneAuftrag});
    EXPECT_EQ(tabs()->currentIndex(), 1);
    EXPECT_EQ(leistungen()->model()->rowCount(), 3) << "the finished entries of all three";
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(row(laeuft->Id())->status, AuftragStatus_Beendet);
    tabs()->setCurrentIndex(0);
    ASSERT_EQ(zeileVon(ohne), 1) << "the idle order and the one without office order are left";
    zeile(auftraege(), 1);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("btnBeenden");
    EXPECT_EQ(gesagt(), (QStringList{kOhneAuftrag, kOhneAuftrag}));
    EXPECT_EQ(row(session_->Auftrag(ohne)->Id())->status, AuftragStatus_InAktiv);
    tick(10);
    expectBalanced();
    tabs()->setCurrentIndex(1);
    zeile(leistungen(), 0);
    for (const char* t : {"mnuLeistungBearbeiten", "mnuLeistungLoeschen", "mnuAuftragAendern",
                          "mnuNeu", "mnuLeistungUmbuchen"}) {
        EXPECT_FALSE(tool(t)->isEnabled()) << t;
        EXPECT_EQ(tool(t)->toolTip(), kRecht38) << t;
    }
    EXPECT_FALSE(knopf("ctlLoeschen")->isEnabled() || knopf("ctlSammelbuchung")->isEnabled());
    EXPECT_TRUE(knopf("ctlEinzelBuchung")->isEnabled());
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    QTest::mouseDClick(leistungen()->viewport(), Qt::LeftButton, {}, mitte(leistungen(), 0));
    EXPECT_EQ(gesagt().last(), "vorläufige Leistung bearbeiten: " + kRecht38);
    EXPECT_EQ(platform_->frmLeistung().asked(), 0);
    tabs()->setCurrentIndex(0);
    EXPECT_TRUE(tool("mnuNeu")->isEnabled()) << "a new stopwatch may be started again";
    EXPECT_EQ(tool("mnuNeu")->text(), "neuen Vorgang anlegen");
}

// An edited entry shows its new time, taken from the idle time. A right click marks the row
// under the mouse unless it is marked; the menu shows the tab's tools, and a tool of the other tab
// does nothing. Deleting asks in the singular or plural and deletes only what was marked. The
// focus catchers, a question open, and the session ended from inside a command.
TEST_P(MainWindow, TheEntriesTabActsOnlyOnWhatIsSeenMarked) {
    oeffnen();
    tick(100);
    erledigt({5001, 5002, 5003, 5011});
    tab(1);
    ASSERT_EQ(leistungen()->model()->rowCount(), 4);
    platform_->frmLeistung().answer(
        test::LeistungAnzeigenAnswer{test::outcome::kGeaendert, 90, std::nullopt});
    zeile(leistungen(), 0);
    QTest::mouseDClick(leistungen()->viewport(), Qt::LeftButton, {}, mitte(leistungen(), 0));
    EXPECT_EQ(zeit(leistungen(), 0), "00:01:30");
    EXPECT_EQ(idle(), 70);
    pruefeSalden();

    zeile(leistungen(), 1, Qt::ControlModifier);
    rechts(leistungen(), 1);
    EXPECT_EQ(markiert(), (std::vector<int>{0, 1})) << "a marked row keeps the marking";
    auto* menu = test::child<QMenu>(*window_, "mnuPopUpAuftraege");
    EXPECT_TRUE(menu->isVisible() && tool("mnuBuchenEinzel")->isVisible());
    EXPECT_FALSE(tool("mnuStart")->isVisible());
    menu->close();
    rechts(leistungen(), 2);
    EXPECT_EQ(markiert(), std::vector<int>{2}) << "an unmarked row becomes the only marked one";
    EXPECT_EQ(leistungen()->currentIndex().row(), 2);
    menu->close();
    tabs()->setCurrentIndex(0);
    rechts(auftraege(), 0);
    EXPECT_TRUE(tool("mnuStart")->isVisible());
    EXPECT_FALSE(tool("mnuLeistungLoeschen")->isVisible());
    menu->close();
    tool("mnuLeistungLoeschen")->trigger();
    tool("mnuBuchenEinzel")->trigger();
    EXPECT_TRUE(gesagt().isEmpty()) << gesagt().join('\n').toStdString();
    EXPECT_TRUE(services().isEmpty());
    tabs()->setCurrentIndex(1);
    const QString eine =
        "vorläufige Leistung löschen: Möchten Sie die ausgewählte Leistung "
        "wirklich löschen?";
    const QString mehrere =
        "vorläufige Leistung löschen: Möchten Sie die ausgewählten Leistungen "
        "wirklich löschen?";
    struct Fall {
        std::vector<int> zeilen;
        MsgAnswer antwort;
        QString frage;
        int uebrig;
    };
    for (const Fall& f :
         {Fall{{1}, MsgAnswer::No, eine, 4}, Fall{{0, 2, 3}, MsgAnswer::No, mehrere, 4},
          Fall{{0, 2}, MsgAnswer::Yes, mehrere, 2}, Fall{{0}, MsgAnswer::Yes, eine, 1}}) {
        for (std::size_t i = 0; i < f.zeilen.size(); ++i) {
            zeile(leistungen(), f.zeilen[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        }
        EXPECT_EQ(markiert(), f.zeilen);
        platform_->messageBoxes().answer(f.antwort);
        klick("ctlLoeschen");
        EXPECT_EQ(gesagt().last(), f.frage);
        EXPECT_EQ(leistungen()->model()->rowCount(), f.uebrig);
        pruefeSalden();
    }
    const auto fangen = [&](const char* catcher) {
        test::child<QLineEdit>(*window_, catcher)->setFocus(Qt::TabFocusReason);
        return QApplication::focusWidget();
    };
    // The focus catchers never send the focus to a disabled control.
    EXPECT_EQ(fangen("txtDummyPicButtonsLeistung"), leistungen());
    tabs()->setCurrentIndex(0);
    EXPECT_EQ(fangen("txtDummyPicButtons"), tabs()->tabBar());
    klick("ctlTelefon");
    EXPECT_TRUE(
        test::child<QWidget>(*window_, "ctlAuftrag1")->isAncestorOf(fangen("txtDummyPicButtons")))
        << "an order runs: its order control takes the focus";
    klick("btnStopp");

    // While a question is open other commands are refused; the session ended from inside it
    // deletes the window only afterwards.
    tabs()->setCurrentIndex(1);
    zeile(leistungen(), 0);
    const std::size_t gefragt = platform_->messageBoxes().asked().size() + 1;
    platform_->messageBoxes().answer([&](const test::AskedBox&) {
        tool("mnuLeistungLoeschen")->trigger();
        QTest::mouseClick(knopf("ctlEinzelBuchung"), Qt::LeftButton);
        EXPECT_EQ(platform_->messageBoxes().asked().size(), gefragt);
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

// Five marked entries, two without an order: three are booked and the notice says two; then one.
TEST_P(MainWindow, BookingFiveMarkedEntriesOfWhichTwoHaveNoOrderBooksThreeAndSaysTwo) {
    oeffnen();
    erledigt({5001, 0, 5002, 0, 5003});
    tab(1);
    zeile(leistungen(), 0);
    QTest::keyClick(leistungen(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(markiert(), (std::vector<int>{0, 1, 2, 3, 4}));
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    klick("ctlEinzelBuchung");
    zeile(leistungen(), 1);
    klick("ctlEinzelBuchung");
    const QString titel = "vorläufige Leistungen buchen: ";
    EXPECT_EQ(gesagt(), (QStringList{titel + "2 Leistungen wurden nicht gebucht, da ihnen kein "
                                             "Auftrag zugeordnet ist.",
                                     titel + "1 Leistung wurde nicht gebucht, da ihr kein "
                                             "Auftrag zugeordnet ist."}));
    EXPECT_EQ(services().split('\n', Qt::SkipEmptyParts).size(), 3) << services().toStdString();
    EXPECT_EQ(leistungen()->model()->rowCount(), 2);
    pruefeSalden();
}

ORV_INSTANTIATE_FOR_BACKENDS(MainWindow);

}  // namespace
}  // namespace orv::ui
