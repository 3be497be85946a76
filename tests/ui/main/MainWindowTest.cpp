#include "ModalDriver.h"
#include "main/StopwatchWindowSupport.h"

#include "office/widgets/ctlDatePicker.h"

#include <QDateEdit>

namespace orv::ui {
namespace {

using platform::MsgAnswer;

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
    QStringList gesagt() { return platform_->told(true); }
    // Finished entries for the entries tab: a minute each on the office orders (0: none).
    void erledigt(std::initializer_list<std::int32_t> auftragIds) {
        for (std::int32_t id : auftragIds) {
            workedOn(id, 60);
        }
    }
};

// A Start by the button failing at any of its statements, from the idle time or from another
// order, is reported and leaves the guard on, every second counted once, one bold row, and the
// tray showing what counts; given again, it starts. Stop first takes a half-typed order key;
// Telefon starts a new order with the time of the call.
TEST_P(MainWindow, AStartFailingAtAnyStatementIsReportedAndGivenAgainStarts) {
    oeffnen();
    const QString a = workedOn(5001, 60)->Key();
    const QString b = workedOn(4905, 60)->Key();
    const auto zaehlt = [this] {
        return session_->AuftragLaeuft() ? session_->AktuellerAuftrag()->Key()
                                         : CAuftrag::LeerlaufKey();
    };
    std::size_t fehler = 0;
    for (const QString& von : {CAuftrag::LeerlaufKey(), b}) {
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << qPrintable(von) << " statement " << k);
            if (zaehlt() != von) {
                switchTo(von);
            }
            tab(0);
            zeile(auftraege(), zeileVon(a));
            const int gesehen = faults().statementsSeen();
            faults().failStatement(k);
            druecke("btnStart");
            const bool erreicht = faults().statementsSeen() - gesehen >= k;
            faults().clear();
            EXPECT_TRUE(session_->zeitzaehlungAktiv());
            const QString key = zaehlt();
            EXPECT_EQ(fett(), std::vector<int>{zeileVon(key)});
            EXPECT_EQ(tray().toolTip().contains("(10001)"), key == a);
            EXPECT_EQ(tray().zustand() == ui::TrayIndicator::Zustand::Produktiv,
                      session_->AuftragLaeuft());
            tick(1);
            pruefeSalden();
            if (!erreicht) {
                break;
            }
            EXPECT_EQ(platform_->errorReports().size(), ++fehler);
        }
        ASSERT_EQ(zaehlt(), a);
    }
    // Another period typed into the order control, not yet taken: the toolbar's Stop takes it.
    const auto auftrag = session_->Auftrag(a);
    auto* termin = test::child<office::ctlDatePicker>(*window_, "ctlTermin");
    termin->dateEdit()->setFocus(Qt::TabFocusReason);
    termin->Monat(2);
    termin->Jahr(2026);
    tool("mnuStop")->trigger();
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5002);
    EXPECT_EQ(fett(), std::vector<int>{0});

    druecke("ctlTelefon");
    auto neu = session_->AktuellerAuftrag();
    ASSERT_TRUE(neu != nullptr && session_->AuftragLaeuft());
    EXPECT_EQ(neu->LeistungsTextVorgabe(), "Telefonat ab " + now().toString("hh:mm:ss"));
    tick(20);
    EXPECT_EQ(neu->Sekunden(), 20);
    EXPECT_EQ(row(neu->Id())->status, AuftragStatus_Aktiv);
    pruefeSalden();
    EXPECT_EQ(gesagt().size(), fehler) << gesagt().join('\n').toStdString();
}

// The day closing ends every order, the running one too, and shows their entries; without
// right 38 a stopwatch without an office order stays open on the orders tab, the employee is told
// once, and Beenden refuses it too. An entry then cannot be edited.
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
    EXPECT_EQ(leistungen()->model()->rowCount(), 3) << "the finished entries of all three";
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
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    QTest::mouseDClick(leistungen()->viewport(), Qt::LeftButton, {}, mitte(leistungen(), 0));
    EXPECT_EQ(gesagt().last(),
              "vorläufige Leistung bearbeiten: Die Funktion 'vorläufige Leistung ändern' ist "
              "durch die Benutzerrechte gesperrt.");
    EXPECT_EQ(platform_->frmLeistung().asked(), 0);
}

// Deleting asks in the singular or plural and deletes only when confirmed; booking marked
// entries without an order books the others and says how many were left. The session ended
// from inside a question deletes the window only afterwards.
TEST_P(MainWindow, TheEntriesTabActsOnlyOnWhatIsMarked) {
    oeffnen();
    erledigt({5001, 5002, 5003, 5011});
    tab(1);
    const QString titel = "vorläufige Leistung löschen: Möchten Sie die ";
    struct Fall {
        std::vector<int> zeilen;
        MsgAnswer antwort;
        QString frage;
        int uebrig;
    };
    for (const Fall& f :
         {Fall{{1}, MsgAnswer::No, titel + "ausgewählte Leistung wirklich löschen?", 4},
          Fall{{0, 2}, MsgAnswer::Yes, titel + "ausgewählten Leistungen wirklich löschen?", 2}}) {
        for (std::size_t i = 0; i < f.zeilen.size(); ++i) {
            zeile(leistungen(), f.zeilen[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        }
        platform_->messageBoxes().answer(f.antwort);
        druecke("ctlLoeschen");
        EXPECT_EQ(gesagt().last(), f.frage);
        EXPECT_EQ(leistungen()->model()->rowCount(), f.uebrig);
        pruefeSalden();
    }

    erledigt({0, 5002, 0});
    tab(1);
    zeile(leistungen(), 0);
    QTest::keyClick(leistungen(), Qt::Key_A, Qt::ControlModifier);
    platform_->messageBoxes().answer(MsgAnswer::Ok);
    druecke("ctlEinzelBuchung");
    EXPECT_EQ(gesagt().last(),
              "vorläufige Leistungen buchen: 2 Leistungen wurden nicht gebucht, da ihnen kein "
              "Auftrag zugeordnet ist.");
    const QString gebucht = services();
    EXPECT_EQ(gebucht.split('\n', Qt::SkipEmptyParts).size(), 3) << gebucht.toStdString();
    EXPECT_EQ(leistungen()->model()->rowCount(), 2);
    pruefeSalden();

    zeile(leistungen(), 0);
    platform_->messageBoxes().answer([&](const test::AskedBox&) {
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
