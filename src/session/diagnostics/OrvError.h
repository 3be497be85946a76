#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace orv {

// Error numbers the component raises itself; database errors carry the number the office's
// database access objects use for a failed command.
namespace err {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kSubscript = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kDuplicateKey = 457;
inline constexpr std::int32_t kDatabase = -2147467259;  // 0x80004005
}  // namespace err

// The one error of the component: what the error handlers extend and the problem report shows.
class OrvError : public std::exception {
public:
    OrvError(std::int32_t number, QString source, QString description, int line = 0);

    std::int32_t number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    int line() const { return line_; }

    void setSource(QString source);
    void setDescription(QString description);
    void setLine(int line) { line_ = line; }
    // The database gave up the transaction to break a deadlock or a conflict between two
    // writers; the same transaction done again may well succeed.
    bool retryable() const { return retryable_; }
    void setRetryable(bool retryable) { retryable_ = retryable; }

    const char* what() const noexcept override { return what_.constData(); }

private:
    void refreshWhat();

    std::int32_t number_;
    QString source_;
    QString description_;
    int line_;
    bool retryable_ = false;
    QByteArray what_;
};

}  // namespace orv
