#include "WidgetHarness.h"

#include "ui/controls/DropList.h"

#include <QComboBox>

#include <tuple>

namespace orv::ui {
namespace {

// The list under a field opens only while enabled, and disabling closes it; neither it nor its
// combo takes the focus from the field the user types in.
TEST(DropListTest, OpensOnlyWhileEnabledAndTakesNoFocus) {
    QWidget window;
    auto* list = new DropList(&window);
    list->setGeometry(0, 20, 120, 0);
    list->Combo()->addItems({QStringLiteral("1"), QStringLiteral("2")});
    test::showActive(window);
    // enabled before, show (1) or hide (0) asked, dropped afterwards
    const std::tuple<bool, int, bool> steps[] = {{false, 1, false},  {true, 1, true},
                                                 {false, -1, false}, {true, 1, true},
                                                 {true, 0, false},   {true, 0, false}};
    for (const auto& [enabled, show, dropped] : steps) {
        list->Enabled(enabled);
        if (show >= 0) {
            list->DropDown(show == 1);
        }
        EXPECT_EQ(list->IsDropped(), dropped) << enabled << show;
    }
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(list->Combo()->focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace orv::ui
