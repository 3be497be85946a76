#include "ui/controls/TimeLineEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

#include <algorithm>
#include <array>

namespace orv::ui {
namespace {

// The last line of defence: should any of the line edit's own editing paths still reach it,
// an edit that breaks the mask's shape is undone by the line edit itself.
class MaskShapeValidator final : public QValidator {
public:
    MaskShapeValidator(const TimeLineEdit& edit) : QValidator(nullptr), edit_(edit) {}
    State validate(QString& input, int& /*pos*/) const override {
        const TimeMask::Result whole = edit_.mask().replace(input);
        return whole.edit && whole.edit->text == input ? Acceptable : Invalid;
    }

private:
    const TimeLineEdit& edit_;
};

// Keys that move the caret or select, and copying: the line edit handles them itself.
constexpr std::array kNavigation = {
    QKeySequence::MoveToNextChar,
    QKeySequence::MoveToPreviousChar,
    QKeySequence::MoveToNextWord,
    QKeySequence::MoveToPreviousWord,
    QKeySequence::MoveToStartOfLine,
    QKeySequence::MoveToEndOfLine,
    QKeySequence::MoveToStartOfDocument,
    QKeySequence::MoveToEndOfDocument,
    QKeySequence::SelectNextChar,
    QKeySequence::SelectPreviousChar,
    QKeySequence::SelectNextWord,
    QKeySequence::SelectPreviousWord,
    QKeySequence::SelectStartOfLine,
    QKeySequence::SelectEndOfLine,
    QKeySequence::SelectStartOfDocument,
    QKeySequence::SelectEndOfDocument,
    QKeySequence::SelectAll,
    QKeySequence::Copy,
};

}  // namespace

TimeLineEdit::TimeLineEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("txtZeit"));
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    auto* shape = new MaskShapeValidator(*this);
    shape->setParent(this);
    setValidator(shape);
    setText(mask_.zeros());
}

bool TimeLineEdit::replaceText(const QString& text) {
    const TimeMask::Result result = mask_.replace(text);
    if (!result.edit) {
        emit refused(result.message);
        return false;
    }
    setText(result.edit->text);
    return true;
}

void TimeLineEdit::apply(const std::optional<TimeMask::Edit>& edit) {
    if (!edit) {
        QApplication::beep();
        return;
    }
    if (edit->text != text()) {
        setText(edit->text);
    }
    setCursorPosition(edit->caret);
}

void TimeLineEdit::typeText(const QString& typed) {
    for (const QChar c : typed) {
        apply(mask_.typeDigit(text(), caret(), c));
    }
}

void TimeLineEdit::pasteFrom(QClipboard::Mode mode, int at) {
    insertAt(at, QApplication::clipboard()->text(mode));
}

void TimeLineEdit::insertAt(int at, const QString& inserted) {
    const TimeMask::Result result = mask_.insert(text(), at, inserted);
    if (!result.message.isEmpty()) {
        emit refused(result.message);
    }
    if (result.edit) {
        apply(result.edit);
    }
}

void TimeLineEdit::clearSelection() {
    apply(mask_.clear(selectionStart()));
}

void TimeLineEdit::cutSelection() {
    if (hasSelectedText()) {
        copy();
        clearSelection();
    }
}

void TimeLineEdit::deleteForward() {
    if (hasSelectedText()) {
        clearSelection();
    } else {
        apply(mask_.erase(text(), cursorPosition()));
    }
}

void TimeLineEdit::deleteBackward() {
    if (hasSelectedText()) {
        clearSelection();
    } else {
        apply(mask_.backspace(text(), cursorPosition()));
    }
}

bool TimeLineEdit::passesToLineEdit(QKeyEvent* event) const {
    return std::any_of(kNavigation.begin(), kNavigation.end(),
                       [&](QKeySequence::StandardKey key) { return event->matches(key); });
}

void TimeLineEdit::keyPressEvent(QKeyEvent* event) {
    if (passesToLineEdit(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteFrom(QClipboard::Clipboard, caret());
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Backspace:
            deleteBackward();
            return;
        case Qt::Key_Delete:
            deleteForward();
            return;
        default:
            break;
    }
    const bool typing = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing) {
        typeText(event->text());
        return;
    }
    // Tab, Escape, function keys, shortcuts: the field neither edits nor keeps them.
    event->ignore();
}

void TimeLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    typeText(event->commitString());
    event->accept();
}

void TimeLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool selected = hasSelectedText();
    const bool editable = !isReadOnly();
    menu.addAction(QStringLiteral("&Ausschneiden"), this, &TimeLineEdit::cutSelection)
        ->setEnabled(selected && editable);
    menu.addAction(QStringLiteral("&Kopieren"), this, &QLineEdit::copy)->setEnabled(selected);
    const int at = caret();
    menu.addAction(QStringLiteral("&Einfügen"), this,
                   [this, at] { pasteFrom(QClipboard::Clipboard, at); })
        ->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("&Löschen"), this, &TimeLineEdit::clearSelection)
        ->setEnabled(selected && editable);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Alles &markieren"), this, &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}

void TimeLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (!isReadOnly() && QApplication::clipboard()->supportsSelection()) {
            pasteFrom(QClipboard::Selection, cursorPositionAt(event->position().toPoint()));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TimeLineEdit::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    insertAt(cursorPositionAt(event->position().toPoint()), event->mimeData()->text());
    // A copy, never a move: the place the text was dragged from keeps it.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TimeLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) {
        return;  // back from a menu or another window: the selection stays as it was
    }
    // The whole time selected, the caret at its start: typing overwrites from the first digit.
    setSelection(static_cast<int>(text().size()), -static_cast<int>(text().size()));
}

}  // namespace orv::ui
