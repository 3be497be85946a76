#pragma once

#include "AnswerQueue.h"

#include "platform/MessageBoxes.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace orv::test {

struct AskedBox {
    QString text;
    platform::MsgButtons buttons;
    platform::MsgIcon icon;
    QString title;
    bool systemModal;
};

// A user who answers message boxes as the test scripted, in order. An answer the box has no
// button for is a mistake of the component or of the test.
class ScriptedMessageBoxes final : public platform::MessageBoxes,
                                   public AnswerQueue<platform::MsgAnswer(const AskedBox&)> {
public:
    ScriptedMessageBoxes() : AnswerQueue("eine Meldung", platform::MsgAnswer::Ok) {}

    platform::MsgAnswer show(const QString& text, platform::MsgButtons buttons,
                             platform::MsgIcon icon, const QString& title,
                             bool systemModal = false) override {
        using platform::MsgAnswer;
        asked_.push_back({text, buttons, icon, title, systemModal});
        if (std::exchange(throwNext_, false)) {
            throw std::runtime_error("Das Meldungsfenster kann nicht angezeigt werden.");
        }
        const MsgAnswer answer = ask(asked_.back());
        using B = platform::MsgButtons;
        const bool yesNo = buttons == B::YesNo || buttons == B::YesNoCancel;
        const bool offered =
            answer == (yesNo ? MsgAnswer::Yes : MsgAnswer::Ok) ||
            (yesNo && answer == MsgAnswer::No) ||
            (answer == MsgAnswer::Cancel && (buttons == B::YesNoCancel || buttons == B::OkCancel));
        EXPECT_TRUE(offered) << "Keine Schaltfläche der Meldung \"" << title.toStdString()
                             << "\" passt zur vorbereiteten Antwort.";
        return answer;
    }
    void resetMousePointer() override { ++mousePointerResets_; }
    // The next box throws instead of answering, as a broken message box would.
    void throwNext() { throwNext_ = true; }

    const std::vector<AskedBox>& asked() const { return asked_; }
    int mousePointerResets() const { return mousePointerResets_; }

private:
    std::vector<AskedBox> asked_;
    int mousePointerResets_ = 0;
    bool throwNext_ = false;
};

}  // namespace orv::test
