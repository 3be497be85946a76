#include "ModalDriver.h"
#include "main/StopwatchWindowSupport.h"

#include "office/widgets/ctlDatePicker.h"

#include <QDateEdit>
#include <QLineEdit>

#include <functional>

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
class MainWindow : public test::StoppuhrFenster<test::SessionTest> {
public:
    MainWindow() : StoppuhrFenster(false) {}

    QTableView* leistungen() { return grid("grdLeistungen"); }
    // Away to the other tab and back, as the employee refreshes the grids.
    void tab(int index) {
        tabs()->setCurrentIndex(1 - index);
        tabs()->setCurrentIndex(index);
    }
    static void rechts(QTableView* g, int row) {
        QTest::mousePress(g->viewport(), Qt::RightButton, {}, mitte(g, row));
    }
    static QString zeit(QTableView* g, int r) { return g->model()->index(r, 13).data().toString(); }
    std::vector<int> markiert() {
        std::vector<int> rows;
        for (const QModelIndex& i : leistungen()->selectionModel()->selectedRows()) {
            rows.push_back(i.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QStringList gesagt() { return platform_->told(true); }
    // Finished entries for the entries tab: a minute each on the office orders (0: none).
    void erledigt(std::initializer_list<std::int32_t> auftragIds) {
        for (std::int32_t id : auftragIds) {
            workedOn(id, 60);
        }
    }
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
            druecke("btnStart");
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
}

// A Start failing at any of its statements, whether given by the button, by F5 or by the tray's
// menu from another order, is reported and leaves the guard on, every second counted, one bold
// row, and the tray showing what counts; given again, it starts. A crash keeps the tray's menu
// and the order it shows. A command first takes a half-typed order key; the foreground
// correction leaves a minimised window so; Telefon starts a new order with the time of the call.
TEST_P(MainWindow, AStartFailingAtAnyStatementIsReportedAndGivenAgainStarts) {
    oeffnen();
    const QString a = workedOn(5001, 60)->Key();
    const QString b = workedOn(4905, 60)->Key();
    trayWahl(b);
    tick(45);
    const QString kopf = tray().toolTip().chopped(8);
    restart();
    test::fensterVorn(window_);
    tick(10);
    EXPECT_EQ(tray().toolTip(), kopf + session_->AktuellerAuftrag()->ZeitText());
    pruefeSalden();

    const std::pair<QString, std::function<void()>> wege[] = {
        {CAuftrag::LeerlaufKey(), [&] { druecke("btnStart"); }},
        {CAuftrag::LeerlaufKey(), [&] { test::press(auftraege(), QStringLiteral("{F5}")); }},
        {b, [&] { trayWahl(a); }},
    };
    const auto zaehlt = [this] {
        return session_->AuftragLaeuft() ? session_->AktuellerAuftrag()->Key()
                                         : CAuftrag::LeerlaufKey();
    };
    std::size_t fehler = 0;
    for (const auto& [von, geben] : wege) {
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << qPrintable(von) << " statement " << k);
            if (zaehlt() != von) {
                switchTo(von);
            }
            tab(0);
            zeile(auftraege(), zeileVon(a));
            const int gesehen = faults().statementsSeen();
            faults().failStatement(k);
            geben();
            const bool erreicht = faults().statementsSeen() - gesehen >= k;
            faults().clear();
            EXPECT_TRUE(session_->zeitzaehlungAktiv());
            const bool laeuft = session_->AuftragLaeuft();
            const QString key = zaehlt();
            EXPECT_EQ(fett(), std::vector<int>{zeileVon(key)});
            EXPECT_EQ(tray().toolTip().contains("(10001)"), key == a);
            EXPECT_EQ(tray().zustand() == ui::TrayIndicator::Zustand::Produktiv, laeuft);
            tick(1);
            pruefeSalden();
            if (!erreicht) {
                break;
            }
            EXPECT_EQ(platform_->errorReports().size(), ++fehler);
        }
        ASSERT_EQ(zaehlt(), a);
    }
    // "Stoppuhren anzeigen" brings the minimised window back, but never over its own open dialog,
    // and no choice runs while that dialog waits.
    QDialog frage(window_);
    test::whenModal<QDialog>([&](QDialog& d) {
        window_->showMinimized();
        tool("trayAnzeigen")->trigger();
        tool("trayStopp")->trigger();
        EXPECT_EQ(QApplication::activeWindow(), &d);
        EXPECT_TRUE(session_->AuftragLaeuft()) << "Stopp waits for the dialog";
        d.reject();
    });
    frage.setModal(true);
    frage.exec();
    EXPECT_FALSE(window_->isMinimized());
    const auto auftrag = session_->Auftrag(a);

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

    window_->showMinimized();
    window_->NachVorn();
    EXPECT_TRUE(window_->isMinimized()) << "the foreground correction leaves it so";
    druecke("ctlTelefon");
    auto neu = session_->AktuellerAuftrag();
    ASSERT_TRUE(neu != nullptr && session_->AuftragLaeuft());
    EXPECT_EQ(neu->LeistungsTextVorgabe(), "Telefonat ab " + now().toString("hh:mm:ss"));
    EXPECT_EQ(auftraege()->currentIndex().row(), zeileVon(neu->Key()));
    EXPECT_EQ(fett(), std::vector<int>{zeileVon(neu->Key())});
    tick(20);
    EXPECT_EQ(neu->Sekunden(), 20);
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
    druecke("ctlTagesAbschluss");
    EXPECT_EQ(gesagt(), QStringList{kOhneAuftrag});
    EXPECT_EQ(tabs()->currentIndex(), 1);
    EXPECT_EQ(leistungen()->model()->rowCount(), 3) << "the finished entries of all three";
    EXPECT_FALSE(session_->AuftragLaeuft());
    EXPECT_EQ(row(laeuft->Id())->status, AuftragStatus_Beendet);
    tabs()->setCurrentIndex(0);
    ASSERT_EQ(zeileVon(ohne), 1) << "the idle order and the one without office order are left";
    zeile(auftraege(), 1);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    druecke("btnBeenden");
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
// focus catchers; booking marked entries without an order books the others and says how many
// were left; a question open, and the session ended from inside a command.
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
        druecke("ctlLoeschen");
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
    druecke("ctlTelefon");
    EXPECT_TRUE(
        test::child<QWidget>(*window_, "ctlAuftrag1")->isAncestorOf(fangen("txtDummyPicButtons")))
        << "an order runs: its order control takes the focus";
    druecke("btnStopp");

    // Four marked entries, two without an order: two are booked and the notice says two; then one.
    erledigt({0, 5002, 0});
    tab(1);
    zeile(leistungen(), 0);
    QTest::keyClick(leistungen(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(markiert(), (std::vector<int>{0, 1, 2, 3}));
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    druecke("ctlEinzelBuchung");
    zeile(leistungen(), 1);
    druecke("ctlEinzelBuchung");
    const QString titel = "vorläufige Leistungen buchen: ";
    EXPECT_EQ(gesagt().last(2), (QStringList{titel + "2 Leistungen wurden nicht gebucht, da ihnen "
                                                     "kein Auftrag zugeordnet ist.",
                                             titel + "1 Leistung wurde nicht gebucht, da ihr kein "
                                                     "Auftrag zugeordnet ist."}));
    const QString gebucht = services();
    EXPECT_EQ(gebucht.split('\n', Qt::SkipEmptyParts).size(), 2) << gebucht.toStdString();
    EXPECT_EQ(leistungen()->model()->rowCount(), 2);
    pruefeSalden();

    // While a question is open other commands are refused; the session ended from inside it
    // deletes the window only afterwards.
    zeile(leistungen(), 0);
    const std::size_t gefragt = platform_->messageBoxes().asked().size() + 1;
    platform_->messageBoxes().answer([&](const test::AskedBox&) {
        tool("mnuLeistungLoeschen")->trigger();
        QTest::mouseClick(knopf("ctlEinzelBuchung"), Qt::LeftButton);
        EXPECT_EQ(platform_->messageBoxes().asked().size(), gefragt);
        EXPECT_EQ(services(), gebucht);
        platform_->messageBoxes().answer(MsgAnswer::Yes);  // the day closing comes later
        EXPECT_TRUE(session_->Beenden());
        EXPECT_NE(window_, nullptr) << "not deleted under the running command";
        return MsgAnswer::No;
    });
    druecke("ctlLoeschen");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window_, nullptr);
}

ORV_INSTANTIATE_FOR_BACKENDS(MainWindow);

}  // namespace
}  // namespace orv::ui
