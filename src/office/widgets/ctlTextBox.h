#pragma once

#include "office/widgets/CaptionedField.h"

class QLineEdit;

namespace orv::office {

// The office's text box: a caption and a one-line text, optionally digits only, right-aligned,
// of limited length.
class ctlTextBox final : public CaptionedField {
    Q_OBJECT
public:
    explicit ctlTextBox(QWidget* parent = nullptr);

    QString Text() const;
    void Text(const QString& text);
    // The caret position.
    int SelStart() const;
    void SelStart(int position);
    void MaxLength(int length);
    // Only digits can be typed or pasted.
    void NumericOnly(bool numeric);
    void RightAligned(bool right);
    QLineEdit* lineEdit() const { return edit_; }

signals:
    void Change();

protected:
    void applyLocked(bool locked) override;

private:
    QLineEdit* edit_;
};

}  // namespace orv::office
