#include "office/widgets/ctlDatePicker.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace orv::office {
namespace {

// The smallest date stands for "no date" and shows as an empty field.
const QDate kNoDate(1900, 1, 1);

}  // namespace

ctlDatePicker::ctlDatePicker(QWidget* parent) : CaptionedField(parent), edit_(new QDateEdit(this)) {
    edit_->setObjectName(QStringLiteral("dtpDatum"));
    edit_->setCalendarPopup(true);
    edit_->setMinimumDate(kNoDate);
    edit_->setSpecialValueText(QStringLiteral(" "));
    edit_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit_->setDate(QDate::currentDate());
    addInput(edit_);
    connect(edit_, &QDateEdit::dateChanged, this, &ctlDatePicker::Change);
}

void ctlDatePicker::Format(const QString& format) {
    edit_->setDisplayFormat(format);
}

QDate ctlDatePicker::Datum() const {
    return edit_->date() == kNoDate ? QDate() : edit_->date();
}

void ctlDatePicker::Datum(const QDate& date) {
    pendingMonth_ = 0;
    pendingYear_ = 0;
    edit_->setDate(date.isValid() ? date : kNoDate);
}

void ctlDatePicker::Monat(int month) {
    setMonthAndYear(month, Jahr());
}

void ctlDatePicker::Jahr(int year) {
    setMonthAndYear(Monat(), year);
}

void ctlDatePicker::setMonthAndYear(int month, int year) {
    // A month without a year (or the reverse) is no date yet; the year follows in a moment.
    const QDate date(year, month, 1);
    if (!date.isValid()) {
        pendingMonth_ = month;
        pendingYear_ = year;
        edit_->setDate(kNoDate);
        return;
    }
    Datum(date.addDays(std::min(standardTag_, date.daysInMonth()) - 1));
}

void ctlDatePicker::ButtonToolTip(const QString& tip) {
    edit_->setToolTip(tip);
}

void ctlDatePicker::applyLocked(bool locked) {
    edit_->setReadOnly(locked);
}

bool ctlDatePicker::openPopup() {
    if (edit_->isReadOnly()) {
        return false;
    }
    // The date edit opens its calendar only for a press on its button: F4 presses it.
    QStyleOptionComboBox option;
    option.initFrom(edit_);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint button =
        edit_->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, edit_)
            .center();
    QMouseEvent press(QEvent::MouseButtonPress, button, edit_->mapToGlobal(button), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit_, &press);
    return true;
}

}  // namespace orv::office
