#include "office/widgets/ctlNumPicker.h"

#include "office/widgets/CalculatorPopup.h"
#include "office/widgets/LeaveValidation.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace orv::office {
namespace {

// The decimals of the positive section of a format: "#0.00;-#0.00;..." has two.
int decimalsOf(const QString& format) {
    const QString positive = format.section(QLatin1Char(';'), 0, 0);
    const qsizetype point = positive.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : static_cast<int>(positive.size() - point - 1);
}

}  // namespace

ctlNumPicker::ctlNumPicker(QWidget* parent)
    : CaptionedField(parent),
      edit_(new QLineEdit(this)),
      button_(new QToolButton(this)),
      calculator_(new CalculatorPopup(this)) {
    edit_->setObjectName(QStringLiteral("txtZahl"));
    button_->setObjectName(QStringLiteral("btnRechner"));
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits, signs and the locale's separators; whether it is a number is the host's check.
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-+0-9.,\\s]*")), edit_));
    button_->setText(QStringLiteral("…"));
    button_->setFocusPolicy(Qt::NoFocus);
    addInput(edit_);
    addInput(button_, 0);
    validation_ = new LeaveValidation(edit_, [this] {
        bool cancel = false;
        emit Validate(cancel);
        return !cancel;
    });
    connect(edit_, &QLineEdit::textChanged, this, &ctlNumPicker::Change);
    connect(button_, &QToolButton::clicked, this, [this] { openPopup(); });
    connect(calculator_, &CalculatorPopup::result, this, [this](double value) {
        Wert(value);
        edit_->setFocus(Qt::PopupFocusReason);
    });
}

ctlNumPicker::~ctlNumPicker() {
    delete validation_;
}

void ctlNumPicker::DisplayFormat(const QString& format) {
    decimals_ = decimalsOf(format);
}

void ctlNumPicker::InputFormat(const QString& format) {
    decimals_ = decimalsOf(format);
}

QString ctlNumPicker::Text() const {
    return edit_->text();
}

void ctlNumPicker::Text(const QString& text) {
    edit_->setText(text);
}

std::optional<double> ctlNumPicker::Wert() const {
    bool ok = false;
    const double value = QLocale().toDouble(edit_->text().trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void ctlNumPicker::Wert(double value) {
    QLocale plain;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    edit_->setText(plain.toString(value, 'f', decimals_));
}

void ctlNumPicker::ButtonToolTip(const QString& tip) {
    button_->setToolTip(tip);
}

void ctlNumPicker::applyLocked(bool locked) {
    edit_->setReadOnly(locked);
    button_->setEnabled(!locked);
}

bool ctlNumPicker::openPopup() {
    if (Locked() || !isEnabled()) {
        return false;
    }
    calculator_->open(edit_, edit_->text());
    return true;
}

}  // namespace orv::office
