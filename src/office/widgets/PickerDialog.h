#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QLineEdit;
class QListWidget;

namespace orv::office {

// One line of a picker's list and the id it stands for.
struct PickerItem {
    QString text;
    std::int32_t id = 0;
};

// The searchable list behind a picker's selection operation: a filter field, the list of what
// matches it, OK and Abbrechen. The list is asked afresh for every change of the filter.
class PickerDialog final : public QDialog {
    Q_OBJECT
public:
    using Source = std::function<std::vector<PickerItem>(const QString& filter)>;

    PickerDialog(const QString& title, Source source, QWidget* parent);

    // The id of the line chosen; 0 when the dialog was cancelled or nothing was chosen.
    std::int32_t gewaehlt() const { return gewaehlt_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filtern();
    void uebernehmen();

    Source source_;
    QLineEdit* filter_;
    QListWidget* liste_;
    std::int32_t gewaehlt_ = 0;
};

}  // namespace orv::office
