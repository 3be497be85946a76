#include "ui/controls/TimeMask.h"

#include "session/runtime/Runtime.h"

#include <QRegularExpression>

#include <limits>

namespace orv::ui {
namespace {

constexpr std::int64_t kMaxSeconds = std::numeric_limits<std::int32_t>::max();

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool digitsOnly(const QString& text) {
    for (const QChar c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

// The refused text as the message quotes it; a pasted page stays a short message.
QString quoted(const QString& text) {
    constexpr qsizetype kShown = 30;
    const QString shown =
        text.size() > kShown ? rt::left(text, kShown) + QStringLiteral("…") : text;
    return QStringLiteral("„%1“").arg(shown);
}

}  // namespace

QString TimeMask::zeros() const {
    return long_ ? QStringLiteral("00:00:00") : QStringLiteral("00:00");
}

QString TimeMask::pattern() const {
    return long_ ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm");
}

std::int64_t TimeMask::seconds(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    // More hour digits than any 32-bit duration needs count as too large.
    if (parts.isEmpty() || parts[0].size() > 12) {
        return std::numeric_limits<std::int64_t>::max();
    }
    constexpr std::int64_t kFactors[] = {3600, 60, 1};
    std::int64_t total = 0;
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i) {
        total += parts[i].toLongLong() * kFactors[i];
    }
    return total;
}

bool TimeMask::acceptable(const QString& text) const {
    static const QRegularExpression kLong(QStringLiteral("^(\\d{2,}):(\\d\\d):(\\d\\d)$"));
    static const QRegularExpression kShort(QStringLiteral("^(\\d{2,}):(\\d\\d)$"));
    const QRegularExpressionMatch shape = (long_ ? kLong : kShort).match(text);
    if (!shape.hasMatch() || seconds(text) > kMaxSeconds) {
        return false;
    }
    if (!clockCheck_) {
        return true;
    }
    const bool minutesAndSecondsValid =
        shape.captured(2).toInt() <= 59 && (!long_ || shape.captured(3).toInt() <= 59);
    return shape.captured(1).toInt() <= 23 && minutesAndSecondsValid;
}

std::optional<TimeMask::Edit> TimeMask::checked(QString text, int caret) const {
    if (!acceptable(text)) {
        return std::nullopt;
    }
    return Edit{std::move(text), caret};
}

std::optional<TimeMask::Edit> TimeMask::typeDigit(const QString& text, int caret,
                                                  QChar digit) const {
    if (!isDigit(digit) || caret < 0 || caret >= text.size()) {
        return std::nullopt;
    }
    // On a colon the digit lands behind it.
    const int target = isDigit(text[caret]) ? caret : caret + 1;
    if (target >= text.size()) {
        return std::nullopt;
    }
    QString next = text;
    next[target] = digit;
    return checked(next, target + 1);
}

std::optional<TimeMask::Edit> TimeMask::backspace(const QString& text, int caret) const {
    if (caret <= 0 || caret > text.size()) {
        return std::nullopt;
    }
    QString next = text;
    if (isDigit(text[caret - 1])) {
        next[caret - 1] = QLatin1Char('0');
        const int firstColon = static_cast<int>(text.indexOf(QLatin1Char(':')));
        // Right behind the first colon the caret goes back behind the hour digits.
        const int landing = caret - 1 == firstColon + 1 ? firstColon : caret - 1;
        return checked(next, landing);
    }
    next[caret - 2] = QLatin1Char('0');  // the digit in front of the colon
    return checked(next, caret - 2);
}

std::optional<TimeMask::Edit> TimeMask::erase(const QString& text, int caret) const {
    return typeDigit(text, caret, QLatin1Char('0'));
}

TimeMask::Edit TimeMask::clear(int caret) const {
    const QString text = zeros();
    return Edit{text, std::min(caret, static_cast<int>(text.size()))};
}

TimeMask::Result TimeMask::insert(const QString& text, int caret, const QString& inserted) const {
    const QString typed = inserted.trimmed();
    if (typed.isEmpty()) {
        return {};
    }
    if (typed.contains(QLatin1Char(':'))) {
        return replace(typed);
    }
    if (!digitsOnly(typed)) {
        return {std::nullopt,
                QStringLiteral("%1 ist keine Zeit im Format %2.").arg(quoted(typed), pattern())};
    }
    Edit current{text, caret};
    for (const QChar digit : typed) {
        const std::optional<Edit> next = typeDigit(current.text, current.caret, digit);
        if (!next) {
            if (current.caret >= text.size() - 1) {
                return {std::nullopt, QStringLiteral("%1 passt nicht in das Zeitfeld (%2).")
                                          .arg(quoted(typed), pattern())};
            }
            return {std::nullopt, QStringLiteral("%1 ergibt an dieser Stelle keine gültige Zeit.")
                                      .arg(quoted(typed))};
        }
        current = *next;
    }
    return {current, {}};
}

TimeMask::Result TimeMask::replace(const QString& inserted) const {
    const QString typed = inserted.trimmed();
    if (typed.isEmpty()) {
        return {clear(0), {}};
    }
    static const QRegularExpression kTime(QStringLiteral("^(\\d+):(\\d\\d)(?::(\\d\\d))?$"));
    const QRegularExpressionMatch time = kTime.match(typed);
    if (!time.hasMatch() || time.hasCaptured(3) != long_) {
        return {std::nullopt,
                QStringLiteral("%1 ist keine Zeit im Format %2.").arg(quoted(typed), pattern())};
    }
    // Hours as the session writes them: at least two digits, no further leading zeros.
    QString hours = time.captured(1);
    while (hours.size() > 2 && hours.startsWith(QLatin1Char('0'))) {
        hours.remove(0, 1);
    }
    const QString text = hours.rightJustified(2, QLatin1Char('0')) + typed.mid(time.capturedEnd(1));
    if (seconds(text) > kMaxSeconds) {
        return {std::nullopt, QStringLiteral("%1 ist zu groß: höchstens %2.")
                                  .arg(quoted(typed), rt::durationText(kMaxSeconds))};
    }
    if (!acceptable(text)) {
        return {std::nullopt,
                QStringLiteral("%1 ist keine gültige Uhrzeit: Stunden bis 23, Minuten%2 bis 59.")
                    .arg(quoted(typed), long_ ? QStringLiteral(" und Sekunden") : QString())};
    }
    return {Edit{text, static_cast<int>(text.size())}, {}};
}

}  // namespace orv::ui
