#pragma once

#include "platform/MessageBoxes.h"

namespace orv::ui {

// The component's questions and notices as Qt message boxes with German buttons, modal over
// the window the employee works in.
class QtMessageBoxes final : public platform::MessageBoxes {
public:
    platform::MsgAnswer show(const QString& text, platform::MsgButtons buttons,
                             platform::MsgIcon icon, const QString& title,
                             bool systemModal = false) override;
    void resetMousePointer() override;
};

}  // namespace orv::ui
