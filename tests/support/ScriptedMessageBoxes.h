#pragma once

#include "platform/MessageBoxes.h"

#include <deque>
#include <vector>

namespace orv::test {

class CallJournal;

struct AskedBox {
    QString text;
    platform::MsgButtons buttons;
    platform::MsgIcon icon;
    QString title;
    bool systemModal;
};

// A user who answers message boxes as the test scripted, in order. A box nobody scripted an
// answer for, an answer the box has no button for, and an answer left over at the end are
// mistakes of the component or of the test, and fail the test.
class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    ~ScriptedMessageBoxes() override;

    platform::MsgAnswer show(const QString& text, platform::MsgButtons buttons,
                             platform::MsgIcon icon, const QString& title,
                             bool systemModal = false) override;
    void resetMousePointer() override;

    // The answer to the next box asked.
    void answer(platform::MsgAnswer answer) { answers_.push_back(answer); }
    // The next box throws instead of answering, as a broken message box would.
    void throwNext() { throwNext_ = true; }

    const std::vector<AskedBox>& asked() const { return asked_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    int mousePointerResets() const { return mousePointerResets_; }

    void setJournal(CallJournal* journal) { journal_ = journal; }

private:
    std::deque<platform::MsgAnswer> answers_;
    std::vector<AskedBox> asked_;
    int mousePointerResets_ = 0;
    bool throwNext_ = false;
    CallJournal* journal_ = nullptr;
};

// The answer of a box whose first button is pressed: OK or Yes.
platform::MsgAnswer firstButton(platform::MsgButtons buttons);
bool offers(platform::MsgButtons buttons, platform::MsgAnswer answer);

}  // namespace orv::test
