#include "ui/desktop/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace orv::ui {

namespace {

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order the office's boxes show them; the first is the default.
std::vector<std::pair<MsgAnswer, QString>> buttonsOf(MsgButtons buttons) {
    const QString ok = QStringLiteral("OK");
    const QString abbrechen = QStringLiteral("Abbrechen");
    const QString ja = QStringLiteral("Ja");
    const QString nein = QStringLiteral("Nein");
    switch (buttons) {
        case MsgButtons::OkCancel:
            return {{MsgAnswer::Ok, ok}, {MsgAnswer::Cancel, abbrechen}};
        case MsgButtons::YesNo:
            return {{MsgAnswer::Yes, ja}, {MsgAnswer::No, nein}};
        case MsgButtons::YesNoCancel:
            return {{MsgAnswer::Yes, ja}, {MsgAnswer::No, nein}, {MsgAnswer::Cancel, abbrechen}};
        case MsgButtons::OkOnly:
            break;
    }
    return {{MsgAnswer::Ok, ok}};
}

// What closing the box without a button means: Cancel where there is one, else the answer
// that changes least.
MsgAnswer escapeAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::OkOnly:
            break;
    }
    return MsgAnswer::Ok;
}

}  // namespace

MsgAnswer QtMessageBoxes::show(const QString& text, MsgButtons buttons, MsgIcon icon,
                               const QString& title, bool systemModal) {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
    // Texts from the database or typed by an employee are never markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (systemModal) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    const MsgAnswer onEscape = escapeAnswer(buttons);
    std::vector<std::pair<QAbstractButton*, MsgAnswer>> answers;
    for (const auto& [answer, caption] : buttonsOf(buttons)) {
        QPushButton* button = box.addButton(
            caption, answer == onEscape ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (answers.empty()) {
            box.setDefaultButton(button);
        }
        if (answer == onEscape) {
            box.setEscapeButton(button);
        }
        answers.emplace_back(button, answer);
    }
    box.exec();
    for (const auto& [button, answer] : answers) {
        if (box.clickedButton() == button) {
            return answer;
        }
    }
    return onEscape;
}

void QtMessageBoxes::resetMousePointer() {
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace orv::ui
