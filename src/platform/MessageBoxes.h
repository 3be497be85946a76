#pragma once

#include <QString>

namespace orv::platform {

enum class MsgButtons { OkOnly, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Modal message boxes on the component's thread.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(const QString& text, MsgButtons buttons, MsgIcon icon,
                           const QString& title, bool systemModal = false) = 0;
    // Puts the mouse pointer back to the arrow before a report.
    virtual void resetMousePointer() {}
};

}  // namespace orv::platform
