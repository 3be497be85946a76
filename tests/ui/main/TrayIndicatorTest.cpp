#include "ModalDriver.h"
#include "WidgetHarness.h"
#include "main/StopwatchWindowSupport.h"
#include "session/SessionTestSupport.h"

#include "ui/main/TrayIndicator.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace orv::ui {
namespace {

// The employee at the tray's menu of a started session's window.
class Tray : public test::SessionTest {
public:
    Tray() : SessionTest(false) {}

    void oeffnen() {
        test::echtesStoppuhrFenster(*platform_, window_);
        start();
        test::fensterVorn(window_);
    }
    TrayIndicator& tray() { return *window_->findChild<TrayIndicator*>(); }
    void waehle(const char* name) { test::child<QAction>(*window_, name)->trigger(); }
    // The keys of the orders the menu offers as it opens, top down.
    QStringList angeboten() {
        tray().menu().popup({0, 0});
        QStringList keys;
        for (QAction* a : tray().menu().actions()) {
            if (a->isVisible() && !a->data().toString().isEmpty()) {
                keys << a->data().toString();
            }
        }
        tray().menu().close();
        return keys;
    }
    void waehleAuftrag(const QString& key) {
        const QStringList keys = angeboten();
        ASSERT_TRUE(keys.contains(key)) << key.toStdString();
        waehle(qPrintable(QStringLiteral("trayAuftrag%1").arg(keys.indexOf(key) + 1)));
    }
    QStringList keys(std::initializer_list<int> indices) {
        QStringList out;
        for (int i : indices) {
            out << orders_[static_cast<std::size_t>(i)]->Key();
        }
        return out;
    }

    QPointer<StoppUhrWidget> window_;
    std::vector<std::shared_ptr<CAuftrag>> orders_;
};

// Each choice of the menu switches as the window's command does: the next 30 seconds count on
// the chosen order (-1: the idle time), the picture, the tooltip and Stopp follow, and the menu
// offers the five orders last started, without the running and the ended ones. During a pause
// the menu's choices wait; the ten minutes away count nowhere.
TEST_P(Tray, EachChoiceMovesTheNextSecondsToTheChosenStopwatchAndTheMenuFollows) {
    oeffnen();
    EXPECT_EQ(tray().icon(), nullptr) << "offscreen there is no tray";
    for (std::int32_t id : {5001, 5002, 5003, 4901, 4905, 4902}) {
        orders_.push_back(workedOn(id, 60));
    }
    endOrder(*workedOn(4903, 60));
    EXPECT_EQ(angeboten(), keys({5, 4, 3, 2, 1}));
    EXPECT_EQ(test::child<QAction>(*window_, "trayAuftrag1")->text(),
              "O'Neill Consulting (10007) – Steuerliche Beratung 04/2026, 00:01:00");
    struct Schritt {
        const char* aktion;
        int laeuft;
        std::initializer_list<int> menue;
        QString toolTip;
    };
    const Schritt schritte[] = {
        {"trayAuftrag2",
         4,
         {5, 3, 2, 1, 0},
         "Stoppuhren: Auftrag läuft\nMüller & Söhne (10009) – Laufende Finanzbuchhaltung "
         "01/2026\n00:01:30"},
        {"trayAuftrag4",
         1,
         {4, 5, 3, 2, 0},
         "Stoppuhren: Auftrag läuft\nBäckerei Krume (10001) – Laufende Finanzbuchhaltung "
         "02/2026\n00:01:30"},
        {"trayStopp", -1, {1, 4, 5, 3, 2}, "Stoppuhren: Leerlauf\n00:00:30"},
        {"trayPause", -1, {1, 4, 5, 3, 2}, "Stoppuhren: Leerlauf\n00:01:00"},
    };
    platform_->frmPause().answer([&](CStoppUhren&, const QDateTime&) {
        for (const char* aktion : {"trayAuftrag1", "trayPause", "trayAnzeigen"}) {
            waehle(aktion);
        }
        EXPECT_EQ(platform_->frmPause().asked(), 1);
        advance(600);
        return 600;
    });
    for (const Schritt& s : schritte) {
        SCOPED_TRACE(s.aktion);
        const std::int32_t leer = idle();
        std::vector<std::int32_t> vorher;
        for (const auto& o : orders_) {
            vorher.push_back(o->Sekunden());
        }
        waehle(s.aktion);
        tick(30);
        EXPECT_EQ(idle(), leer + (s.laeuft < 0 ? 30 : 0));
        for (std::size_t i = 0; i < orders_.size(); ++i) {
            EXPECT_EQ(orders_[i]->Sekunden(), vorher[i] + (s.laeuft == int(i) ? 30 : 0)) << i;
        }
        EXPECT_EQ(tray().zustand(), s.laeuft < 0 ? TrayIndicator::Zustand::Leerlauf
                                                 : TrayIndicator::Zustand::Produktiv);
        EXPECT_EQ(tray().toolTip(), s.toolTip);
        EXPECT_EQ(test::child<QAction>(*window_, "trayStopp")->isEnabled(), s.laeuft >= 0);
        EXPECT_EQ(angeboten(), keys(s.menue));
        expectBalanced();
        expectRowsMatchObjects();
    }
    EXPECT_TRUE(platform_->errorReports().empty());
}

// A switch from the menu failing at any of its statements is reported and the tray shows what
// runs; chosen again it switches. After a crash the next start's tray offers the same orders
// and shows the order that ran. "Stoppuhren anzeigen" brings the minimised window back, but
// never over its own open dialog, and no choice runs while that dialog waits.
TEST_P(Tray, AFailedSwitchIsShownAsItIsAndACrashKeepsTheMenu) {
    oeffnen();
    // c was created first but started last: the menu goes by the last start.
    const QString c = workedOn(5003, 60)->Key();
    const QString a = workedOn(5001, 60)->Key();
    switchTo(c);
    tick(60);
    const QString b = workedOn(5002, 60)->Key();
    waehleAuftrag(b);
    tick(45);
    const QStringList vorher = angeboten();
    EXPECT_EQ(vorher, (QStringList{c, a}));
    const QString kopf = tray().toolTip().chopped(8);
    EXPECT_EQ(kopf,
              "Stoppuhren: Auftrag läuft\nBäckerei Krume (10001) – Laufende "
              "Finanzbuchhaltung 02/2026\n");
    restart();
    EXPECT_EQ(angeboten(), vorher);
    tick(10);
    EXPECT_EQ(tray().toolTip(), kopf + session_->AktuellerAuftrag()->ZeitText());
    expectBalanced();
    std::size_t fehler = 0;
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "statement " << k);
        const int gesehen = faults().statementsSeen();
        faults().failStatement(k);
        waehleAuftrag(a);
        const bool erreicht = faults().statementsSeen() - gesehen >= k;
        faults().clear();
        // The step that failed stopped b or not; it started a or not.
        const bool laeuft = session_->AuftragLaeuft();
        const bool laeuftA = laeuft && session_->AktuellerAuftrag()->Key() == a;
        EXPECT_EQ(tray().toolTip().contains("01/2026"), laeuftA);
        EXPECT_EQ(tray().zustand() == TrayIndicator::Zustand::Produktiv, laeuft);
        tick(1);
        expectBalanced();
        expectRowsMatchObjects();
        if (!erreicht) {
            break;
        }
        EXPECT_EQ(platform_->errorReports().size(), ++fehler);
        if (laeuftA) {
            waehleAuftrag(b);
        }
    }
    ASSERT_EQ(session_->AktuellerAuftrag()->Key(), a);

    window_->showMinimized();
    waehle("trayAnzeigen");
    EXPECT_TRUE(window_->isVisible() && !window_->isMinimized());
    QDialog frage(window_);
    test::whenModal<QDialog>([&](QDialog& d) {
        window_->showMinimized();
        waehle("trayAnzeigen");
        waehle("trayStopp");
        EXPECT_EQ(QApplication::activeWindow(), &d);
        EXPECT_TRUE(session_->AuftragLaeuft()) << "Stopp waits for the dialog";
        d.reject();
    });
    frage.setModal(true);
    frage.exec();
    EXPECT_FALSE(window_->isMinimized());
}

ORV_INSTANTIATE_FOR_BACKENDS(Tray);

}  // namespace
}  // namespace orv::ui
