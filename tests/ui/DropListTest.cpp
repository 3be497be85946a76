#include "WidgetHarness.h"

#include "ui/controls/DropList.h"

#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace orv::ui {
namespace {

struct Step {
    const char* what;
    std::function<void(DropList&)> action;
    bool dropped;
};

// The list under a field: it opens only while enabled, and disabling closes it.
TEST(DropListTest, OpensOnlyWhileEnabled) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* list = new DropList(&window);
    list->setGeometry(0, field->height(), 120, 0);
    list->Combo()->addItems({QStringLiteral("1"), QStringLiteral("2")});
    test::showActive(window);
    const Step steps[] = {
        {"disabled, asked to show", [](DropList& l) { l.Enabled(false), l.DropDown(true); }, false},
        {"enabled, asked to show", [](DropList& l) { l.Enabled(true), l.DropDown(true); }, true},
        {"disabled while shown", [](DropList& l) { l.Enabled(false); }, false},
        {"shown again", [](DropList& l) { l.Enabled(true), l.DropDown(true); }, true},
        {"hidden", [](DropList& l) { l.DropDown(false); }, false},
        {"hidden twice", [](DropList& l) { l.DropDown(false); }, false},
    };
    for (const Step& step : steps) {
        step.action(*list);
        EXPECT_EQ(list->IsDropped(), step.dropped) << step.what;
    }
    EXPECT_EQ(list->height(), 0);
    EXPECT_EQ(list->Combo()->geometry().bottom(), -1) << "the combo's edit part is above the top";
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(list->Combo()->focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace orv::ui
