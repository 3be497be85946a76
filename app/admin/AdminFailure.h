#pragma once

#include <QString>

#include <utility>

namespace orv::admin {

// A command that cannot go on, with the German message for the administrator. Nothing has been
// changed when it is raised.
class AdminFailure {
public:
    explicit AdminFailure(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace orv::admin
