#pragma once

#include "ui/controls/TimeMask.h"

#include <QClipboard>
#include <QLineEdit>

namespace orv::ui {

// The text box of the masked time field. Every way of changing its text — keys, paste, cut,
// delete, drag-and-drop, middle-click, input methods, its context menu — goes through the
// mask's rules, so the text always has the mask's shape.
class TimeLineEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit TimeLineEdit(QWidget* parent = nullptr);

    const TimeMask& mask() const { return mask_; }
    void setMask(const TimeMask& mask) { mask_ = mask; }
    // Takes a text the mask accepts; otherwise keeps its own and tells why.
    bool replaceText(const QString& text);

signals:
    // Input was refused; the message says why in German.
    void refused(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int caret() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }
    void apply(const std::optional<TimeMask::Edit>& edit);
    void typeText(const QString& text);
    void pasteFrom(QClipboard::Mode mode, int caret);
    void insertAt(int caret, const QString& inserted);
    void cutSelection();
    void clearSelection();
    void deleteForward();
    void deleteBackward();
    bool passesToLineEdit(QKeyEvent* event) const;

    TimeMask mask_;
};

}  // namespace orv::ui
