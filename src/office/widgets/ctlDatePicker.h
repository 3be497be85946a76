#pragma once

#include "office/widgets/CaptionedField.h"

#include <QDate>

class QDateEdit;

namespace orv::office {

// The office's date picker: a date in the given format ("MM.yyyy" picks a month, whose day is
// the default day), a calendar on its button and on F4. No date (month and year 0) shows empty.
class ctlDatePicker final : public CaptionedField {
    Q_OBJECT
public:
    explicit ctlDatePicker(QWidget* parent = nullptr);

    // Display and input format, in Qt's date notation ("dd.MM.yyyy", "MM.yyyy").
    void Format(const QString& format);
    void StandardTag(int day) { standardTag_ = day; }
    // A null date when none is set.
    QDate Datum() const;
    void Datum(const QDate& date);
    int Monat() const { return Datum().isValid() ? Datum().month() : pendingMonth_; }
    void Monat(int month);
    int Jahr() const { return Datum().isValid() ? Datum().year() : pendingYear_; }
    void Jahr(int year);
    void ButtonToolTip(const QString& tip);
    QDateEdit* dateEdit() const { return edit_; }

signals:
    void Change();

protected:
    void applyLocked(bool locked) override;
    bool openPopup() override;

private:
    void setMonthAndYear(int month, int year);

    QDateEdit* edit_;
    int standardTag_ = 1;
    // A month or year set while the other is still missing.
    int pendingMonth_ = 0;
    int pendingYear_ = 0;
};

}  // namespace orv::office
