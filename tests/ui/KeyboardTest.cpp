#include "dialogs/DialogTestSupport.h"
#include "main/StopwatchWindowSupport.h"

#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/ctlAuftrag.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QToolBar>

#include <set>

namespace orv::ui {
namespace {

// What a screen reader announces for the widget.
QString angesagt(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i != nullptr ? i->text(QAccessible::Name) : QString();
}

// Walks the window by Tab until the focus comes back; every widget the focus rests on, and
// every other one the keyboard can reach, must be announced by name. Answers the widgets
// without one, and the count of those the walk reached.
std::pair<QStringList, std::size_t> namenlos(QWidget& window) {
    if (QApplication::activeWindow() != &window) {
        test::showActive(window);
    }
    if (QApplication::focusWidget() == nullptr ||
        QApplication::focusWidget()->window() != &window) {
        test::press(&window, QStringLiteral("{Tab}"));
    }
    std::set<QWidget*> erreicht;
    for (int i = 0; i < 80; ++i) {
        QWidget* w = QApplication::focusWidget();
        if (w == nullptr || !erreicht.insert(w).second) {
            break;
        }
        test::press(w, QStringLiteral("{Tab}"));
    }
    QStringList ohne;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool tastbar = (w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(&window) &&
                             w->isEnabled() && w->focusProxy() == nullptr;
        if ((tastbar || erreicht.count(w) > 0) && angesagt(w).trimmed().isEmpty()) {
            ohne << w->objectName() + QLatin1Char(':') + w->metaObject()->className();
        }
    }
    return {ohne, erreicht.size()};
}

// The employee at the stopwatch window, with every dialog the real one.
class Tastatur : public test::StoppuhrFenster<test::DialogTest> {
public:
    Tastatur() : StoppuhrFenster(0, false) {}

    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        oeffnen();
        tick(3600);
    }

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
            auftrag->FocusMandant();
            return;
        }
        w->setFocus(Qt::TabFocusReason);
    }
    // Opens a dialog by keys where the focus is, walks it, and leaves it by Escape.
    template <typename Dialog>
    void durchlaufe(const char* tasten, std::function<void(Dialog&)> vorher = {}) {
        SCOPED_TRACE(tasten);
        const auto ran = test::whenModal<Dialog>([&](Dialog& d) {
            if (vorher) {
                vorher(d);
            }
            const auto [ohne, erreicht] = namenlos(d);
            EXPECT_TRUE(ohne.isEmpty()) << ohne.join(QStringLiteral(", ")).toStdString();
            EXPECT_GE(erreicht, 1U);
            test::press(&d, QStringLiteral("{Escape}"));
        });
        test::press(QApplication::focusWidget(), QString::fromLatin1(tasten));
        // A button's access key clicks it a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return *ran; }, 2000));
    }
};

// Both tabs and the five dialogs, each reached by its keys: every widget the keyboard reaches is
// announced by its German name, and leaving each dialog by Escape changes no second.
TEST_P(Tastatur, EveryWidgetTheKeyboardReachesIsNamedAndEscapeChangesNoSecond) {
    const auto auftrag = startNewOrder(5001);
    tick(90);
    workedOn(5002, 60);
    switchTo(auftrag->Key());
    tick(15);
    tabs()->setCurrentIndex(1);
    tabs()->setCurrentIndex(0);
    const QString vorher = objects(*session_);

    const auto tab = [this](int index, const char* grid, std::size_t mindestens) {
        tabs()->setCurrentIndex(index);
        fokus(grid);
        const auto [ohne, erreicht] = namenlos(*window_);
        EXPECT_TRUE(ohne.isEmpty()) << ohne.join(QStringLiteral(", ")).toStdString();
        EXPECT_GE(erreicht, mindestens);
        fokus(grid);
    };
    tab(0, "grdAuftraege", 8);
    auto* leerlauf = test::child<QLabel>(*window_, "lblLeerlauf");
    EXPECT_EQ(angesagt(leerlauf), QStringLiteral("Leerlauf ") + leerlauf->text());
    EXPECT_EQ(angesagt(test::child<QLabel>(*window_, "lblAktiv")),
              QStringLiteral("aktiv ") + session_->AuftragsZeitText());
    durchlaufe<FrmEigenschaftenDialog>("{Alt+Return}");
    fokus("grdAuftraege");
    durchlaufe<FrmPauseDialog>("{Ctrl+P}", [](FrmPauseDialog& d) {
        EXPECT_EQ(angesagt(test::child<QLabel>(d, "lblZeit")), QStringLiteral("Dauer 00:00:00"));
    });

    tab(1, "grdLeistungen", 4);
    durchlaufe<FrmLeistungDialog>("{F2}");
    fokus("grdLeistungen");
    durchlaufe<FrmLeistungUmbuchenDialog>("{Ctrl+U}");
    fokus("grdLeistungen");
    // A new entry's dialog offers the external time by its access key.
    durchlaufe<FrmLeistungDialog>(
        "{Ctrl+N}", [this](FrmLeistungDialog&) { durchlaufe<FrmExterneZeitDialog>("{Alt+X}"); });
    EXPECT_EQ(objects(*session_), vorher);
    tick(5);
    EXPECT_EQ(auftrag->Sekunden(), 90 + 15 + 5);
    pruefeSalden();
}

// Each way of giving a command, keys wherever the focus is in the window or a choice of the
// tray's menu, does what the command does to the seconds; the tray shows what counts and offers
// the five orders last started, without the running and the ended ones. A pause's minutes count
// nowhere, and keys and choices wait behind its dialog. Tooltips and menu name the keys in
// German. The next start after a crash finds the seconds and the menu as they were.
struct Weg {
    const char* fokus;   // the widget the keys are pressed in; nullptr: a choice of the tray
    const char* befehl;  // the keys, or the choice
    int zeile;           // the order whose row is made current first; -1 as it is
    int zaehlt;          // the order counting afterwards; -1 the idle time
    const char* tipp = nullptr;  // the tray's tooltip afterwards, when given
};
// The orders by index: 0 to 5 worked on in turn, 6 the one Ctrl+N made.
const Weg kWege[] = {
    {"grdAuftraege", "{F5}", 0, 0},
    {"ctlAuftrag1", "{F6}", -1, -1},
    {"tabStoppUhr", "{F5}", 0, 0},
    {nullptr, "trayAuftrag2", -1, 4,
     "Stoppuhren: Auftrag läuft\nMüller & Söhne (10009) – Laufende Finanzbuchhaltung 01/2026\n"
     "00:01:07"},
    {"grdAuftraege", "{Ctrl+N}", -1, 6},
    {"grdAuftraege", "{Ctrl+P}", -1, 6},
    {"tabStoppUhr", "{F6}", -1, -1},
    {nullptr, "trayAuftrag4", -1, 5},
    {nullptr, "trayStopp", -1, -1, "Stoppuhren: Leerlauf\n01:00:21"},
    {nullptr, "trayPause", -1, -1},
};

TEST_P(Tastatur, EveryWayOfGivingACommandMovesTheSecondsAsTheCommandDoes) {
    std::vector<std::shared_ptr<CAuftrag>> o;
    for (std::int32_t id : {5001, 5002, 5003, 4901, 4905, 4902}) {
        o.push_back(workedOn(id, 60));
    }
    endOrder(*workedOn(4903, 60));
    tabs()->setCurrentIndex(1);  // back to the orders tab: the grid shows them
    tabs()->setCurrentIndex(0);
    std::vector<int> zuletzt = {5, 4, 3, 2, 1, 0};  // the orders by their last start
    EXPECT_EQ(angeboten().value(0), o[5]->Key()) << "the order started last first";
    EXPECT_EQ(tool("trayAuftrag1")->text(),
              "O'Neill Consulting (10007) – Steuerliche Beratung 04/2026, 00:01:00");
    for (const Weg& w : kWege) {
        SCOPED_TRACE(w.befehl);
        if (w.zeile >= 0) {
            auftraege()->setCurrentIndex(
                auftraege()->model()->index(zeileVon(o[std::size_t(w.zeile)]->Key()), 2));
        }
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
        if (pause) {
            EXPECT_TRUE(*pause);
        }
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
        EXPECT_EQ(tray().zustand() == TrayIndicator::Zustand::Produktiv, w.zaehlt >= 0);
        EXPECT_EQ(tool("trayStopp")->isEnabled(), w.zaehlt >= 0);
        if (w.tipp != nullptr) {
            EXPECT_EQ(tray().toolTip(), QString::fromUtf8(w.tipp));
        }
        pruefeSalden();
    }
    EXPECT_EQ(o[6]->Sekunden(), 7 * 2);
    EXPECT_EQ(row(o[6]->Id())->sekunden, o[6]->Sekunden());

    // The tooltips the employee sees while the first order runs: a tool that cannot run names no
    // key.
    switchTo(o[0]->Key());
    tabs()->setCurrentIndex(1);
    const std::pair<const char*, const char*> tipps[] = {
        {"btnStart", "ausgewählten Vorgang starten"},
        {"ctlTagesAbschluss", "alle Vorgänge eenden und abschliessen (Strg+F7)"},
        {"mnuNeu", "neuen Vorgang anlegen (Strg+N)"},
        {"mnuStop", "Vorgang anhalten (F6)"},
        {"btnStopp", "Stopp (F6)"},
        {"ctlNeu", "manuelle (vorläufige) Leistung anlegen (Strg+N)"},
        {"mnuTagesuebersicht", "Tagesübersicht des heutigen Tages (Strg+T)"},
    };
    for (const auto& [name, text] : tipps) {
        tabs()->setCurrentIndex(QLatin1String(name) == QLatin1String("ctlNeu") ? 1 : 0);
        auto* aktion = window_->findChild<QAction*>(QString::fromLatin1(name));
        QWidget* w = aktion != nullptr
                         ? test::child<QToolBar>(*window_, "bndAuftraege")->widgetForAction(aktion)
                         : test::child<QWidget>(*window_, name);
        EXPECT_EQ(gezeigterTipp(*w), QString::fromUtf8(text));
    }
    EXPECT_EQ(tool("mnuLeistungLoeschen")->shortcut().toString(QKeySequence::NativeText), "Entf")
        << "the context menu's key";

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
    EXPECT_TRUE(platform_->errorReports().empty());
}

ORV_INSTANTIATE_FOR_BACKENDS(Tastatur);

}  // namespace
}  // namespace orv::ui
