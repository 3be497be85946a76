#include "dialogs/DialogTestSupport.h"
#include "main/StopwatchWindowSupport.h"

#include "ui/controls/ctlAuftrag.h"

#include <QAccessible>
#include <QApplication>

namespace orv::ui {
namespace {

// The employee at the stopwatch window, with every dialog the real one.
class Tastatur : public test::StoppuhrFenster<test::DialogTest> {
public:
    Tastatur() : StoppuhrFenster(0, false) {}

    // The focus on the widget, in the window active again as the desktop makes it once a dialog
    // of it closed.
    void fokus(const char* name) {
        if (QApplication::activeWindow() != window_) {
            test::showActive(*window_);
        }
        QWidget* w = test::child<QWidget>(*window_, name);
        if (auto* tab = qobject_cast<QTabWidget*>(w)) {
            w = tab->tabBar();
        } else if (auto* auftrag = qobject_cast<ctlAuftrag*>(w)) {
            return auftrag->FocusMandant();
        }
        w->setFocus(Qt::TabFocusReason);
    }
};

// Each way of giving a command, keys wherever the focus is in the window or a choice of the
// tray's menu, does what the command does to the seconds, in the grid too; the tray offers the
// five orders last started, without the running and the ended ones. A pause's minutes count
// nowhere, and keys and choices wait behind its dialog. The next start after a crash finds the
// seconds and the menu as they were.
struct Weg {
    const char* fokus;   // the widget the keys are pressed in; nullptr: a choice of the tray
    const char* befehl;  // the keys, or the choice
    int zaehlt;          // the order counting afterwards; -1 the idle time
};
// The orders by index: 0 to 5 worked on in turn, 6 the one Ctrl+N made.
// The first row starts the current row, the first order's.
const Weg kWege[] = {
    {"grdAuftraege", "{F5}", 0},     {nullptr, "trayAuftrag2", 4},   {"ctlAuftrag1", "{F6}", -1},
    {"grdAuftraege", "{Ctrl+N}", 6}, {"tabStoppUhr", "{Ctrl+P}", 6}, {nullptr, "trayStopp", -1},
    {nullptr, "trayPause", -1},
};

TEST_P(Tastatur, EveryWayOfGivingACommandMovesTheSecondsAsTheCommandDoes) {
    oeffnen();
    tick(3600);
    std::vector<std::shared_ptr<CAuftrag>> o;
    for (std::int32_t id : {5001, 5002, 5003, 4901, 4905, 4902}) {
        o.push_back(workedOn(id, 60));
    }
    endOrder(*workedOn(4903, 60));
    tabs()->setCurrentIndex(1);  // back to the orders tab: the grid shows them
    tabs()->setCurrentIndex(0);
    std::vector<int> zuletzt = {5, 4, 3, 2, 1, 0};  // the orders by their last start
    auftraege()->setCurrentIndex(auftraege()->model()->index(zeileVon(o[0]->Key()), 2));
    for (const Weg& w : kWege) {
        SCOPED_TRACE(w.befehl);
        std::shared_ptr<bool> pause;
        if (QByteArray(w.befehl).contains("P")) {  // Ctrl+P, the tray's pause
            pause = test::whenModal<FrmPauseDialog>([this](FrmPauseDialog& d) {
                advance(300);
                test::press(&d, QStringLiteral("{F6}{Ctrl+N}"));
                for (const char* wahl : {"trayAuftrag1", "trayPause", "trayAnzeigen"}) {
                    tool(wahl)->trigger();
                }
                EXPECT_EQ(QApplication::activeModalWidget(), &d);
                test::press(&d, QStringLiteral("{Return}"));
            });
        }
        const std::int32_t leer = idle();
        std::vector<std::int32_t> vorher;
        for (const auto& auftrag : o) {
            vorher.push_back(auftrag->Sekunden());
        }
        if (w.fokus != nullptr) {
            fokus(w.fokus);
            test::press(window_, QString::fromLatin1(w.befehl));
        } else {
            tool(w.befehl)->trigger();
        }
        EXPECT_TRUE(pause == nullptr || *pause);
        if (w.zaehlt == 6 && o.size() == 6) {
            o.push_back(session_->AktuellerAuftrag());
            vorher.push_back(0);
        }
        ASSERT_EQ(session_->AuftragLaeuft(), w.zaehlt >= 0);
        if (w.zaehlt >= 0) {
            EXPECT_EQ(session_->AktuellerAuftrag(), o[std::size_t(w.zaehlt)]);
            std::erase(zuletzt, w.zaehlt);
            zuletzt.insert(zuletzt.begin(), w.zaehlt);
        }
        tick(7);
        EXPECT_EQ(idle(), leer + (w.zaehlt < 0 ? 7 : 0));
        for (std::size_t i = 0; i < o.size(); ++i) {
            EXPECT_EQ(o[i]->Sekunden(), vorher[i] + (w.zaehlt == int(i) ? 7 : 0)) << i;
            EXPECT_EQ(auftraege()->model()->index(zeileVon(o[i]->Key()), 13).data(),
                      session_->SekundenZeit(o[i]->Sekunden()));
        }
        QStringList menue;
        for (int i : zuletzt) {
            if (i != w.zaehlt && menue.size() < 5) {
                menue << o[std::size_t(i)]->Key();
            }
        }
        EXPECT_EQ(angeboten(), menue);
        pruefeSalden();
    }

    // Every widget the keyboard reaches on either tab is announced to a screen reader by name.
    for (int t : {1, 0}) {
        tabs()->setCurrentIndex(t);
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(window_) &&
                w->isEnabled() && w->focusProxy() == nullptr) {
                EXPECT_FALSE(a == nullptr || a->text(QAccessible::Name).trimmed().isEmpty())
                    << w->objectName().toStdString() << ':' << w->metaObject()->className();
            }
        }
    }

    // The next start after a crash finds what the commands did.
    const QStringList menue = angeboten();
    std::vector<std::int32_t> sekunden;
    for (const auto& auftrag : o) {
        sekunden.push_back(auftrag->Sekunden());
    }
    restart();
    EXPECT_EQ(angeboten(), menue);
    for (std::size_t i = 0; i < o.size(); ++i) {
        EXPECT_EQ(session_->Auftrag(o[i]->Key())->Sekunden(), sekunden[i]) << i;
    }
    pruefeSalden();
    EXPECT_TRUE(platform_->errorReports().empty());
}

ORV_INSTANTIATE_FOR_BACKENDS(Tastatur);

}  // namespace
}  // namespace orv::ui
