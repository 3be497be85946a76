#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace orv::ui {

// The editing rules of the masked time field, apart from any widget: "hh:nn:ss" (long) or
// "hh:nn" (short). The colons never move and every position holds a digit, so the time can be
// read from fixed places. Hours hold at least two digits and more when a longer duration was
// set (as the session writes durations: "100:00:00"); typing never changes their number.
//
// Caret positions count from 0 before the first character. Every edit answers the new text and
// caret, or nothing when the key is refused and the field stays as it was.
class TimeMask {
public:
    struct Edit {
        QString text;
        int caret = 0;
    };

    explicit TimeMask(bool longFormat = false, bool clockCheck = false)
        : long_(longFormat), clockCheck_(clockCheck) {}

    bool longFormat() const { return long_; }
    bool clockCheck() const { return clockCheck_; }
    QString zeros() const;
    // "hh:mm:ss" or "hh:mm", for messages.
    QString pattern() const;

    // A digit typed at the caret overwrites the next digit, stepping over a colon.
    std::optional<Edit> typeDigit(const QString& text, int caret, QChar digit) const;
    // Backspace puts a 0 in place of the digit before the caret.
    std::optional<Edit> backspace(const QString& text, int caret) const;
    // Delete puts a 0 in place of the digit after the caret and moves past it.
    std::optional<Edit> erase(const QString& text, int caret) const;
    // A selection removed by Backspace, Delete or Cut leaves a field of zeros.
    Edit clear(int caret) const;

    // Text pasted, dropped or set: a whole time of this format replaces the field; a run of
    // digits is typed at the caret, all or nothing. A refusal carries its German message.
    struct Result {
        std::optional<Edit> edit;
        QString message;
    };
    Result insert(const QString& text, int caret, const QString& inserted) const;
    // A whole time for the field; an empty text is no time at all, zero.
    Result replace(const QString& inserted) const;

    // The seconds the text stands for (hours from all digits before the first colon).
    static std::int64_t seconds(const QString& text);

private:
    // A text of the mask's shape, in range, and within the clock check when it is on.
    bool acceptable(const QString& text) const;
    std::optional<Edit> checked(QString text, int caret) const;

    bool long_;
    bool clockCheck_;
};

}  // namespace orv::ui
