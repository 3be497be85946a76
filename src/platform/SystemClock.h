#pragma once

#include "platform/Clock.h"

#include <QTime>

namespace orv::platform {

// The workstation's local time, to the second as every record keeps it.
class SystemClock final : public Clock {
public:
    QDateTime now() const override {
        QDateTime now = QDateTime::currentDateTime();
        now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
        return now;
    }
};

}  // namespace orv::platform
