#pragma once

#include <QWidget>

#include <cstdint>

namespace orv::office {
class LeaveValidation;
}

namespace orv::ui {

class TimeLineEdit;

// A one-line time field with a fixed mask, "hh:nn" or "hh:nn:ss": typing overwrites digits in
// place and steps over the colons, and the optional clock check refuses anything beyond 23
// hours or 59 minutes or seconds. Durations longer than 99 hours keep all their hour digits.
class ctlMskzeit final : public QWidget {
    Q_OBJECT
public:
    explicit ctlMskzeit(QWidget* parent = nullptr);
    ~ctlMskzeit() override;

    QString Text() const;
    // Takes a whole time of the field's format (an empty text is zero); anything else leaves
    // the field as it was, reports why through Eingabefehler and answers false.
    bool Text(const QString& text);
    bool pbUhrZeit() const { return uhrZeit_; }
    void pbUhrZeit(bool on);
    bool DataChanged() const { return dataChanged_; }
    void DataChanged(bool changed) { dataChanged_ = changed; }
    // 0: "hh:nn"; any other value: "hh:nn:ss". The field starts at zero.
    void ZeitFormat(std::int32_t format);
    bool langesFormat() const;
    // The time shown, in seconds; within 32 bits, as the field accepts nothing larger.
    std::int32_t Sekunden() const;
    // The seconds as the field's time; hours grow beyond two digits and never wrap.
    void Sekunden(std::int32_t seconds);

    void setReadOnly(bool readOnly);

signals:
    // The field is being left (focus out, or Enter); set cancel to keep the focus.
    void Validate(bool& cancel);
    void Change();
    // Pasted, dropped or set text was refused; the German message says why.
    void Eingabefehler(const QString& meldung);

private:
    TimeLineEdit* txtZeit_;
    // Removed first when the control goes: the focus leaving the dying field is no leave.
    office::LeaveValidation* validation_;
    bool uhrZeit_ = false;
    bool dataChanged_ = false;
};

}  // namespace orv::ui
