#include "dialogs/DialogTestSupport.h"
#include "main/StopwatchWindowSupport.h"

#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/ctlAuftrag.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
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
class Tastatur : public test::DialogTest {
public:
    Tastatur() : DialogTest(0, false) {}

    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        test::echtesStoppuhrFenster(*platform_, window_);
        start();
        test::fensterVorn(window_);
        tick(3600);
    }

    QTableView* grid(const char* name) { return test::child<QTableView>(*window_, name); }
    QTabWidget* tabs() { return test::child<QTabWidget>(*window_, "tabStoppUhr"); }
    // The row of the order in the orders grid.
    int zeileVon(const QString& key) {
        QAbstractItemModel* m = grid("grdAuftraege")->model();
        const auto t = m->match(m->index(0, 0), Qt::DisplayRole, key, 1, Qt::MatchExactly);
        return t.isEmpty() ? -1 : t.front().row();
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

    QPointer<StoppUhrWidget> window_;
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

// Each key, pressed wherever the focus is in the window, does what its tool does to the
// seconds; a start failing half-way moves none and is taken again; shortcuts of the window do
// nothing while a dialog of it is open, and its tooltips and menu name the key in German.
struct Taste {
    const char* fokus;
    const char* tasten;
    int zeile;      // the row made current first: 1 the first order's; 0 as it is
    int zaehlt;     // afterwards counts: 0 idle, 1 the first order, 2 an order the key made
    int fehlerBei;  // the statement that fails, 0 none
};
constexpr Taste kTasten[] = {
    {"grdAuftraege", "{F5}", 1, 0, 1},     {"grdAuftraege", "{F5}", 1, 1, 0},
    {"ctlAuftrag1", "{F6}", 0, 0, 0},      {"tabStoppUhr", "{F5}", 1, 1, 0},
    {"grdAuftraege", "{Ctrl+N}", 0, 2, 0}, {"grdAuftraege", "{Ctrl+P}", 0, 2, 0},
    {"tabStoppUhr", "{F6}", 0, 0, 0},
};

TEST_P(Tastatur, KeysRunTheirToolsFromAnywhereInTheWindow) {
    const auto erster = workedOn(5001, 60);
    tabs()->setCurrentIndex(1);
    tabs()->setCurrentIndex(0);
    std::shared_ptr<CAuftrag> neu;
    std::size_t fehler = 0;
    for (const Taste& t : kTasten) {
        SCOPED_TRACE(testing::Message() << t.fokus << " " << t.tasten);
        if (t.zeile == 1) {
            grid("grdAuftraege")
                ->setCurrentIndex(grid("grdAuftraege")->model()->index(zeileVon(erster->Key()), 2));
        }
        fokus(t.fokus);
        const std::int32_t leer = idle();
        const std::int32_t basis = erster->Sekunden();
        std::shared_ptr<bool> pause;
        if (QLatin1String(t.tasten) == QLatin1String("{Ctrl+P}")) {
            // The pause's minutes count nowhere; the window's keys wait behind the dialog.
            pause = test::whenModal<FrmPauseDialog>([this](FrmPauseDialog& d) {
                advance(300);
                test::press(&d, QStringLiteral("{F6}{Ctrl+N}{Return}"));
            });
        }
        faults().failStatement(t.fehlerBei);
        test::press(window_, QString::fromLatin1(t.tasten));
        faults().clear();
        fehler += t.fehlerBei > 0 ? 1 : 0;
        EXPECT_EQ(platform_->errorReports().size(), fehler);
        if (pause) {
            EXPECT_TRUE(*pause);
        }
        if (t.zaehlt == 2 && neu == nullptr) {
            neu = session_->AktuellerAuftrag();
        }
        const std::shared_ptr<CAuftrag> zaehlt =
            t.zaehlt == 0 ? nullptr : (t.zaehlt == 1 ? erster : neu);
        ASSERT_EQ(session_->AuftragLaeuft(), zaehlt != nullptr);
        if (zaehlt != nullptr) {
            EXPECT_EQ(session_->AktuellerAuftrag(), zaehlt);
        }
        tick(7);
        EXPECT_EQ(idle(), leer + (zaehlt == nullptr ? 7 : 0));
        EXPECT_EQ(erster->Sekunden(), basis + (zaehlt == erster ? 7 : 0));
        EXPECT_EQ(grid("grdAuftraege")->model()->index(zeileVon(erster->Key()), 13).data(),
                  session_->SekundenZeit(erster->Sekunden()));
        pruefeSalden();
    }
    ASSERT_NE(neu, nullptr);
    EXPECT_EQ(neu->Sekunden(), 7 * 2);
    EXPECT_EQ(row(neu->Id())->sekunden, neu->Sekunden());

    // The tooltips the employee sees while the first order runs: a tool that cannot run names no
    // key.
    switchTo(erster->Key());
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
        auto* tool = window_->findChild<QAction*>(QString::fromLatin1(name));
        QWidget* w = tool != nullptr
                         ? test::child<QToolBar>(*window_, "bndAuftraege")->widgetForAction(tool)
                         : test::child<QWidget>(*window_, name);
        EXPECT_EQ(gezeigterTipp(*w), QString::fromUtf8(text));
    }
    EXPECT_EQ(test::child<QAction>(*window_, "mnuLeistungLoeschen")
                  ->shortcut()
                  .toString(QKeySequence::NativeText),
              QStringLiteral("Entf"))
        << "the context menu's key";

    // The next start after a crash finds what the keys did.
    const auto danach = newSession();
    std::int32_t mitarbeiter = office::demo::kEmployeeWithRights;
    ASSERT_TRUE(danach->Starten(mitarbeiter));
    EXPECT_EQ(platform_->errorReports().size(), fehler);
    EXPECT_EQ(danach->Auftrag(neu->Key())->Sekunden(), neu->Sekunden());
    EXPECT_EQ(danach->Auftrag(erster->Key())->Sekunden(), erster->Sekunden());
}

ORV_INSTANTIATE_FOR_BACKENDS(Tastatur);

}  // namespace
}  // namespace orv::ui
