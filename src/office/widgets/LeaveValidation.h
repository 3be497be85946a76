#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace orv::office {

// Runs a field's validation when the employee leaves it — the focus moves on, or Enter is
// pressed to confirm — the way a Windows form validates a control. A validation that answers
// false keeps the focus in the field and swallows the Enter. A menu, message box or another
// window that only borrows the focus does not count as leaving.
class LeaveValidation final : public QObject {
public:
    LeaveValidation(QWidget* field, std::function<bool()> validate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* field_;
    std::function<bool()> validate_;
    bool validatedLeave_ = false;  // Tab was validated; its focus change needs no second check
};

}  // namespace orv::office
