#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;

namespace orv::office {

// The number picker's small calculator: one line for an expression, evaluated on Enter; Escape
// closes it without a result.
class CalculatorPopup final : public QFrame {
    Q_OBJECT
public:
    explicit CalculatorPopup(QWidget* parent);

    // Opens under the given widget with the value to start from.
    void open(QWidget* below, const QString& start);

signals:
    void result(double value);

private:
    void evaluate();

    QLineEdit* line_;
    QLabel* hint_;
};

}  // namespace orv::office
