#pragma once

#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "ui/main/FrmStoppUhrWindow.h"
#include "ui/main/StoppUhrWidget.h"

#include <QPointer>

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

}  // namespace orv::test
