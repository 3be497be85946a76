#pragma once

#include "AnswerQueue.h"

#include "platform/MessageBoxes.h"

#include <vector>

namespace orv::test {

struct AskedBox {
    QString text;
    platform::MsgButtons buttons;
    QString title;
};

// A user who answers message boxes as the test scripted, in order. An answer the box has no
// button for is a mistake of the component or of the test.
class ScriptedMessageBoxes final : public platform::MessageBoxes,
                                   public AnswerQueue<platform::MsgAnswer(const AskedBox&)> {
public:
    ScriptedMessageBoxes() : AnswerQueue("eine Meldung", platform::MsgAnswer::Ok) {}

    platform::MsgAnswer show(const QString& text, platform::MsgButtons buttons, platform::MsgIcon,
                             const QString& title, bool = false) override {
        using platform::MsgAnswer;
        asked_.push_back({text, buttons, title});
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
    void resetMousePointer() override {}

    const std::vector<AskedBox>& asked() const { return asked_; }

private:
    std::vector<AskedBox> asked_;
};

}  // namespace orv::test
