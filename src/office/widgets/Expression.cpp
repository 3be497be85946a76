#include "office/widgets/Expression.h"

#include <cmath>

namespace orv::office {
namespace {

class Parser {
public:
    Parser(const QString& text, const QLocale& locale) : text_(text), locale_(locale) {}

    std::optional<double> parse() {
        const std::optional<double> value = sum();
        skipBlanks();
        if (!value || pos_ != text_.size() || !std::isfinite(*value)) {
            return std::nullopt;
        }
        return value;
    }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && text_[pos_].isSpace()) {
            ++pos_;
        }
    }
    bool take(const QString& operators, QChar& taken) {
        skipBlanks();
        if (pos_ < text_.size() && operators.contains(text_[pos_])) {
            taken = text_[pos_++];
            return true;
        }
        return false;
    }

    std::optional<double> sum() {
        std::optional<double> value = product();
        QChar op;
        while (value && take(QStringLiteral("+-−"), op)) {
            const std::optional<double> right = product();
            if (!right) {
                return std::nullopt;
            }
            value = op == QLatin1Char('+') ? *value + *right : *value - *right;
        }
        return value;
    }

    std::optional<double> product() {
        std::optional<double> value = factor();
        QChar op;
        while (value && take(QStringLiteral("*×/÷:"), op)) {
            const std::optional<double> right = factor();
            const bool multiply = op == QLatin1Char('*') || op == QChar(0x00D7);
            if (!right || (!multiply && *right == 0)) {
                return std::nullopt;
            }
            value = multiply ? *value * *right : *value / *right;
        }
        return value;
    }

    std::optional<double> factor() {
        QChar op;
        if (take(QStringLiteral("+-−"), op)) {
            const std::optional<double> value = factor();
            return value && op != QLatin1Char('+') ? std::optional<double>(-*value) : value;
        }
        if (take(QStringLiteral("("), op)) {
            const std::optional<double> value = sum();
            return value && take(QStringLiteral(")"), op) ? value : std::nullopt;
        }
        return number();
    }

    std::optional<double> number() {
        skipBlanks();
        const qsizetype start = pos_;
        while (pos_ < text_.size() &&
               (text_[pos_].isDigit() || text_[pos_] == locale_.decimalPoint().at(0))) {
            ++pos_;
        }
        bool ok = false;
        const double value = locale_.toDouble(text_.mid(start, pos_ - start), &ok);
        return ok ? std::optional<double>(value) : std::nullopt;
    }

    const QString& text_;
    const QLocale& locale_;
    qsizetype pos_ = 0;
};

}  // namespace

std::optional<double> evaluateExpression(const QString& text, const QLocale& locale) {
    return Parser(text, locale).parse();
}

}  // namespace orv::office
