#pragma once

#include "office/widgets/CaptionedField.h"

#include <optional>

class QLineEdit;
class QToolButton;

namespace orv::office {

class CalculatorPopup;
class LeaveValidation;

// The office's number picker: a number in the user's locale (German decimal comma), typed or
// worked out in the small calculator that its button and F4 open.
class ctlNumPicker final : public CaptionedField {
    Q_OBJECT
public:
    explicit ctlNumPicker(QWidget* parent = nullptr);
    ~ctlNumPicker() override;

    // Formats in the office's notation ("#0.00;-#0.00;0.00;{};"): their decimals count.
    void DisplayFormat(const QString& format);
    void InputFormat(const QString& format);
    int decimals() const { return decimals_; }
    QString Text() const;
    void Text(const QString& text);
    // The number typed, or nothing when the text is no number.
    std::optional<double> Wert() const;
    void Wert(double value);
    void ButtonToolTip(const QString& tip);
    QLineEdit* lineEdit() const { return edit_; }

signals:
    // The field is being left (focus out, or Enter); set cancel to keep the focus.
    void Validate(bool& cancel);
    void Change();

protected:
    void applyLocked(bool locked) override;
    bool openPopup() override;

private:
    QLineEdit* edit_;
    QToolButton* button_;
    CalculatorPopup* calculator_;
    // Removed first when the picker goes: the focus leaving the dying field is no leave.
    LeaveValidation* validation_;
    int decimals_ = 2;
};

}  // namespace orv::office
