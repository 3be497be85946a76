#pragma once

#include <QDateTime>

namespace orv::platform {

// The current local time to the second. Every time the component records comes from here, so
// tests can set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

}  // namespace orv::platform
