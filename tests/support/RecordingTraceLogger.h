#pragma once

#include "platform/TraceLogger.h"

#include <QStringList>

namespace orv::test {

// Keeps every message written, also while tracing is off: a line written then is a fault of the
// component that the test should see.
class RecordingTraceLogger final : public platform::TraceLogger {
public:
    explicit RecordingTraceLogger(bool enabled = true) : enabled_(enabled) {}

    void Write(std::int32_t, const QString&, const QString& message) override {
        messages_ << message;
    }
    bool Enabled() const override { return enabled_; }

    const QStringList& messages() const { return messages_; }

private:
    bool enabled_;
    QStringList messages_;
};

}  // namespace orv::test
