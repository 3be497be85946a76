#include "ScriptedMessageBoxes.h"

#include "CallJournal.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace orv::test {

using platform::MsgAnswer;
using platform::MsgButtons;

MsgAnswer firstButton(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                              : MsgAnswer::Ok;
}

bool offers(MsgButtons buttons, MsgAnswer answer) {
    switch (buttons) {
        case MsgButtons::OkOnly:
            return answer == MsgAnswer::Ok;
        case MsgButtons::OkCancel:
            return answer == MsgAnswer::Ok || answer == MsgAnswer::Cancel;
        case MsgButtons::YesNo:
            return answer == MsgAnswer::Yes || answer == MsgAnswer::No;
        case MsgButtons::YesNoCancel:
            return answer != MsgAnswer::Ok;
    }
    return false;
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    if (!answers_.empty()) {
        ADD_FAILURE() << answers_.size()
                      << " vorbereitete Antwort(en) auf Meldungen wurden nie abgefragt.";
    }
}

MsgAnswer ScriptedMessageBoxes::show(const QString& text, MsgButtons buttons,
                                     platform::MsgIcon icon, const QString& title,
                                     bool systemModal) {
    asked_.push_back({text, buttons, icon, title, systemModal});
    note(journal_, QStringLiteral("MsgBox: ") + title);
    if (std::exchange(throwNext_, false)) {
        throw std::runtime_error("Das Meldungsfenster kann nicht angezeigt werden.");
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "Meldung ohne vorbereitete Antwort: \"" << title.toStdString()
                      << "\": " << text.toStdString();
        return firstButton(buttons);
    }
    const MsgAnswer answer = answers_.front();
    answers_.pop_front();
    if (!offers(buttons, answer)) {
        ADD_FAILURE() << "Die vorbereitete Antwort passt zu keiner Schaltfläche der Meldung \""
                      << title.toStdString() << "\".";
        return firstButton(buttons);
    }
    return answer;
}

void ScriptedMessageBoxes::resetMousePointer() {
    ++mousePointerResets_;
    note(journal_, QStringLiteral("MousePointer.reset"));
}

}  // namespace orv::test
