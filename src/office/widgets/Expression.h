#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace orv::office {

// The value of a calculator line such as "1,5 + 2 × 3" in the locale's decimal notation:
// + − × ÷ (also - * / :), parentheses and signs, × and ÷ before + and −. Nothing for a line
// that is no expression or divides by zero.
std::optional<double> evaluateExpression(const QString& text, const QLocale& locale = QLocale());

}  // namespace orv::office
