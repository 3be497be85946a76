#pragma once

#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "ui/main/FrmStoppUhrWindow.h"
#include "ui/main/StoppUhrWidget.h"
#include "ui/main/TrayIndicator.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <vector>

namespace orv::test {

// Every session the test starts opens the real stopwatch window; `window` is the one opened
// last.
inline void echtesStoppuhrFenster(FakePlatform& platform, QPointer<ui::StoppUhrWidget>& window) {
    platform.qtWindows().FrmStoppUhr = [&platform, &window] {
        auto w = std::make_unique<ui::FrmStoppUhrWindow>(platform);
        window = w->widget();
        return w;
    };
}

// The window of the session just started, shown and active as the employee finds it.
inline void fensterVorn(const QPointer<ui::StoppUhrWidget>& window) {
    ASSERT_NE(window, nullptr);
    showActive(*window);
}

// The employee at the real stopwatch window of a session the test starts.
template <typename Base>
class StoppuhrFenster : public Base {
public:
    using Base::Base;

    void oeffnen(std::int32_t employee = office::demo::kEmployeeWithRights) {
        echtesStoppuhrFenster(*this->platform_, window_);
        this->start(employee);
        fensterVorn(window_);
    }
    QTableView* grid(const char* name) { return child<QTableView>(*window_, name); }
    QTableView* auftraege() { return grid("grdAuftraege"); }
    QTabWidget* tabs() { return child<QTabWidget>(*window_, "tabStoppUhr"); }
    QAction* tool(const char* name) { return child<QAction>(*window_, name); }
    QPushButton* knopf(const char* name) { return child<QPushButton>(*window_, name); }
    void druecke(const char* name) {
        ASSERT_TRUE(knopf(name)->isEnabled()) << name;
        QTest::mouseClick(knopf(name), Qt::LeftButton);
    }
    static QPoint mitte(QTableView* g, int row) {
        return g->visualRect(g->model()->index(row, 2)).center();
    }
    static void zeile(QTableView* g, int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, mods, mitte(g, row));
    }
    // The row of the order in the orders grid; -1 when it has none.
    int zeileVon(const QString& key) {
        QAbstractItemModel* m = auftraege()->model();
        const auto t = m->match(m->index(0, 0), Qt::DisplayRole, key, 1, Qt::MatchExactly);
        return t.isEmpty() ? -1 : t.front().row();
    }
    // The rows of the orders grid shown bold: the stopwatch that counts.
    std::vector<int> fett() {
        std::vector<int> rows;
        for (int r = 0; r < auftraege()->model()->rowCount(); ++r) {
            if (qvariant_cast<QFont>(auftraege()->model()->index(r, 5).data(Qt::FontRole)).bold()) {
                rows.push_back(r);
            }
        }
        return rows;
    }
    ui::TrayIndicator& tray() { return *window_->findChild<ui::TrayIndicator*>(); }
    // The keys of the orders the tray's menu offers as it opens, top down.
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
    void pruefeSalden() {
        this->expectBalanced();
        this->expectRowsMatchObjects();
    }

    QPointer<ui::StoppUhrWidget> window_;
};

}  // namespace orv::test
