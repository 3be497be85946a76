#include "office/widgets/LeaveValidation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace orv::office {

LeaveValidation::LeaveValidation(QWidget* field, std::function<bool()> validate)
    : QObject(field), field_(field), validate_(std::move(validate)) {
    field->installEventFilter(this);
}

bool LeaveValidation::eventFilter(QObject* watched, QEvent* event) {
    if (watched != field_) {
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool confirming = key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool tabbing = key == Qt::Key_Tab || key == Qt::Key_Backtab;
        if (confirming || tabbing) {
            // Keys are checked before they act: a refusal simply swallows them.
            if (!validate_()) {
                return true;
            }
            validatedLeave_ = tabbing;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool borrowed =
            reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
        const bool tabbed = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
        const bool validated = std::exchange(validatedLeave_, false) && tabbed;
        if (!borrowed && !validated && !validate_()) {
            // Taken back once the focus change in progress is over.
            QTimer::singleShot(0, field_,
                               [field = field_] { field->setFocus(Qt::OtherFocusReason); });
        }
    }
    return false;
}

}  // namespace orv::office
