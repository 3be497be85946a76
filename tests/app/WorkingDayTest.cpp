#include "DialogTestSupport.h"
#include "main/StopwatchWindowSupport.h"

#include "stoppuhren/HostWindow.h"
#include "ui/dialogs/LeistungenModel.h"
#include "ui/main/DayOverviewWindow.h"
#include "ui/main/EntriesModel.h"

#include <QDateEdit>

namespace orv::ui {
namespace {

// A working day of one employee, only through what the employee touches: the program's own
// window, the stopwatch window, its grids, buttons and tools, and the dialogs. The test keeps
// its own account of the idle and productive seconds and holds the window's labels, the
// session and finally the booked services to it.
class WorkingDayTest : public test::StoppuhrFenster<test::DialogTest> {
protected:
    WorkingDayTest() : StoppuhrFenster(0, false) {}

    // The row in the grid, which must show it, clicked.
    int klicke(QTableView* g, int row) {
        EXPECT_GE(row, 0);
        zeile(g, std::max(row, 0));
        return row;
    }
    int auftragZeile(std::int32_t auftragId) {
        return klicke(auftraege(), zeileVon(session_->AuftragZuAuftragId(auftragId)->Key()));
    }
    int leistungZeile(const cLeistung& e) {
        const auto* model = static_cast<const EntriesModel*>(grid("grdLeistungen")->model());
        return klicke(grid("grdLeistungen"), model->row(e.Auftrag().Key(), e.Key()));
    }
    // A new order as the employee types its key into the order control and leaves it.
    void neuerVorgang(const QString& mandant, const QString& angelegenheit, int monat, int id) {
        druecke("ctlNeuerAuftrag");
        for (const auto& [feld, text] :
             {std::pair{"ctlMandant", mandant}, std::pair{"ctlAufArtAng", angelegenheit}}) {
            auto* edit = test::child<QWidget>(*window_, feld)->findChild<QLineEdit*>();
            edit->setFocus(Qt::TabFocusReason);
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        auto* termin = test::child<QWidget>(*window_, "ctlTermin")->findChild<QDateEdit*>();
        termin->setFocus(Qt::TabFocusReason);
        termin->setDate(QDate(2026, monat, 1));
        auftraege()->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(session_->AktuellerAuftrag()->AuftragId(), id);
    }
    // After every step the window and its day overview show the day as the test
    // counted it, and the session and its rows agree.
    void sieht(const char* schritt) {
        SCOPED_TRACE(schritt);
        QCoreApplication::processEvents();
        const auto hms = [](std::int32_t s) { return QTime(0, 0).addSecs(s).toString("hh:mm:ss"); };
        EXPECT_EQ(test::child<QLabel>(*window_, "lblLeerlauf")->text(), hms(leer_));
        EXPECT_EQ(test::child<QLabel>(*window_, "lblAktiv")->text(), hms(aktiv_));
        EXPECT_EQ(test::child<QLabel>(*window_, "lblGesamt")->text(), hms(leer_ + aktiv_));
        pruefeSalden();
        tool("mnuTagesuebersicht")->trigger();
        auto* tag = window_->findChild<DayOverviewWindow*>();
        ASSERT_TRUE(tag != nullptr && tag->isVisible());
        EXPECT_EQ(tag->tag().leerlauf, leer_);
        EXPECT_EQ(tag->tag().produktiv(), aktiv_);
    }
    void arbeite(qint64 sekunden, bool produktiv) {
        tick(sekunden);
        (produktiv ? aktiv_ : leer_) += static_cast<std::int32_t>(sekunden);
    }

    std::int32_t leer_ = 0;
    std::int32_t aktiv_ = 0;
};

TEST_P(WorkingDayTest, EverySecondFromStartToEndIsInOneServiceAndTheWindowShowedIt) {
    oeffnen();
    stoppuhren::HostWindow host(*session_, QStringLiteral("Erika Muster"));
    test::showActive(host);
    test::fensterVorn(window_);
    arbeite(600, false);
    sieht("08:10 the day began on the idle stopwatch");

    neuerVorgang(QStringLiteral("10001"), QStringLiteral("10/101"), 2, 5002);
    arbeite(2700, true);
    neuerVorgang(QStringLiteral("10002"), QStringLiteral("20/201"), 1, 5003);
    ASSERT_FALSE(HasFatalFailure());
    arbeite(1800, true);
    sieht("09:25 two orders typed in");

    QTest::mouseDClick(auftraege()->viewport(), Qt::LeftButton, {},
                       mitte(auftraege(), auftragZeile(5002)));
    arbeite(1200, true);
    auftragZeile(5003);
    QTest::keyClick(auftraege(), Qt::Key_Return);
    arbeite(900, true);
    druecke("btnStopp");
    arbeite(300, false);
    sieht("10:05 switched by double click and Enter, stopped");

    // Half an hour of pause in the pause dialog; the clock's ticks meanwhile count nowhere.
    test::whenModal<FrmPauseDialog>([&](FrmPauseDialog& dialog) {
        EXPECT_FALSE(platform_->timer()->tick(clock(), 1800));
        test::press(&dialog, QStringLiteral("{Return}"));
    });
    tool("mnuPause")->trigger();
    arbeite(60, false);
    auftragZeile(5002);
    druecke("btnStart");
    arbeite(600, true);
    druecke("btnStopp");
    arbeite(120, false);
    sieht("10:48 after the pause and another stretch");

    auftragZeile(5002);
    druecke("btnBeenden");
    tabs()->setCurrentIndex(0);
    auftragZeile(5003);
    druecke("btnBeenden");
    tabs()->setCurrentIndex(1);
    sieht("both orders ended");

    // The first stretch on 5003 was five minutes shorter and belonged to 5001.
    const auto verlegt = session_->AuftragZuAuftragId(5003)->Leistungen().at(1);
    test::whenModal<FrmLeistungDialog>([&](FrmLeistungDialog& d) {
        zeit(d, "002500");
        waehleAuftrag(d, 5001);
        klick(d, "ctlOk");
    });
    QTest::mouseDClick(grid("grdLeistungen")->viewport(), Qt::LeftButton, {},
                       mitte(grid("grdLeistungen"), leistungZeile(*verlegt)));
    ASSERT_EQ(verlegt->Auftrag().AuftragId(), 5001);
    aktiv_ -= 300;
    leer_ += 300;
    sieht("an entry edited to other minutes and another order");

    // 07:00-07:30 at a client's, entered as external time for a new entry on 5011.
    test::whenModal<FrmLeistungDialog>([&](FrmLeistungDialog& d) {
        test::whenModal<FrmExterneZeitDialog>([](FrmExterneZeitDialog& e) {
            test::press(&e, QStringLiteral("0700{Tab}0730{Return}"));
        });
        klick(d, "ctlExtern");
        waehleAuftrag(d, 5011);
        klick(d, "ctlOk");
    });
    druecke("ctlNeu");
    counted_ += 1800;
    aktiv_ += 1800;
    sieht("external time");

    // Five idle minutes onto the first stretch of 5002.
    const auto ziel = session_->AuftragZuAuftragId(5002)->Leistungen().at(1);
    test::whenModal<FrmLeistungUmbuchenDialog>([&](FrmLeistungUmbuchenDialog& d) {
        zeit(d, "000500");
        auto* g = test::child<QTableView>(d, "grdLeistungen");
        klicke(g, static_cast<const LeistungenModel*>(g->model())->zeile(ziel->Key()));
        klick(d, "ctlOk");
        klick(d, "ctlCancel");
    });
    tool("mnuUmbuchenLeerlauf")->trigger();
    leer_ -= 300;
    aktiv_ += 300;
    sieht("idle time rebooked onto an entry");

    // The moved entry booked singly, then everything else summed per order.
    leistungZeile(*verlegt);
    druecke("ctlEinzelBuchung");
    sieht("one entry booked");
    QTest::keyClick(grid("grdLeistungen"), Qt::Key_A, Qt::ControlModifier);
    druecke("ctlSammelbuchung");
    tabs()->setCurrentIndex(0);
    druecke("ctlTagesAbschluss");
    EXPECT_EQ(auftraege()->model()->rowCount(), 1) << "only the idle stopwatch is left";
    arbeite(600, false);
    sieht("10:58 everything booked");

    // Another employee works beside; the day closing touches none of their rows.
    const auto kollege = startedSession(office::demo::kEmployeeWithoutRights);
    const std::size_t seine = rowsOf(office::demo::kEmployeeWithoutRights).size();
    test::whenModal<FrmLeistungDialog>([&](FrmLeistungDialog& d) { klick(d, "ctlOk"); });
    QTest::mouseClick(test::child<QPushButton>(host, "btnBeenden"), Qt::LeftButton);
    EXPECT_TRUE(rowsOf().empty());
    EXPECT_EQ(rowsOf(office::demo::kEmployeeWithoutRights).size(), seine);

    // 08:00-10:58 less the half hour of pause, plus the half hour outside: 10,680 seconds, each
    // in exactly one service (hours to four places). An entry edited to other minutes keeps
    // only its date; a summed service runs from its first stretch to its last.
    EXPECT_EQ(leer_ + aktiv_, 10680);
    EXPECT_EQ(services(),
              QStringLiteral("5001|4167|00:00-00:00|Lohn- und Gehaltsabrechnung\n"
                             "5002|13333|08:10-10:46|Laufende Finanzbuchhaltung / Laufende "
                             "Finanzbuchhaltung / Laufende Finanzbuchhaltung\n"
                             "5003|2500|09:45-10:00|Lohn- und Gehaltsabrechnung\n"
                             "5011|5000|07:00-07:30|\n"
                             "5013|4667|10:46-10:58|Kanzleiorganisation (unproduktiv)"));
    EXPECT_EQ(logins(), QStringLiteral("07:00:00-07:30:00/1 08:00:00-10:05:00/0 "
                                       "10:35:00-10:58:00/0"));
    // Nothing else was said than the external time's question.
    EXPECT_EQ(platform_->told().size(), 1) << platform_->told().join('\n').toStdString();
}

ORV_INSTANTIATE_FOR_BACKENDS(WorkingDayTest);

}  // namespace
}  // namespace orv::ui
