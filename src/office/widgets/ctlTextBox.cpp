#include "office/widgets/ctlTextBox.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace orv::office {

ctlTextBox::ctlTextBox(QWidget* parent) : CaptionedField(parent), edit_(new QLineEdit(this)) {
    edit_->setObjectName(QStringLiteral("txtText"));
    addInput(edit_);
    connect(edit_, &QLineEdit::textChanged, this, &ctlTextBox::Change);
}

QString ctlTextBox::Text() const {
    return edit_->text();
}

void ctlTextBox::Text(const QString& text) {
    edit_->setText(text);
}

int ctlTextBox::SelStart() const {
    return edit_->cursorPosition();
}

void ctlTextBox::SelStart(int position) {
    edit_->setCursorPosition(position);
}

void ctlTextBox::MaxLength(int length) {
    edit_->setMaxLength(length);
}

void ctlTextBox::NumericOnly(bool numeric) {
    edit_->setValidator(
        numeric ? new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit_)
                : nullptr);
}

void ctlTextBox::RightAligned(bool right) {
    edit_->setAlignment(right ? Qt::AlignRight | Qt::AlignVCenter
                              : Qt::AlignLeft | Qt::AlignVCenter);
}

void ctlTextBox::applyLocked(bool locked) {
    edit_->setReadOnly(locked);
}

}  // namespace orv::office
