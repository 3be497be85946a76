#pragma once

#include "platform/TraceLogger.h"

#include <QStringList>

#include <stdexcept>
#include <vector>

namespace orv::test {

struct TraceLine {
    std::int32_t level;
    QString source;
    QString message;
};

// Keeps every line written, also while tracing is off: a line written then is a fault of the
// component that the test should see.
class RecordingTraceLogger final : public platform::TraceLogger {
public:
    explicit RecordingTraceLogger(bool enabled = true) : enabled_(enabled) {}

    void Write(std::int32_t level, const QString& source, const QString& message) override {
        if (message == failOn_) {
            throw std::runtime_error("Das Protokoll kann nicht geschrieben werden.");
        }
        lines_.push_back({level, source, message});
    }
    bool Enabled() const override { return enabled_; }

    // Writing this message throws, as a broken logger would.
    void failOn(const QString& message) { failOn_ = message; }
    const std::vector<TraceLine>& lines() const { return lines_; }
    QStringList messages() const {
        QStringList out;
        for (const TraceLine& line : lines_) {
            out << line.message;
        }
        return out;
    }

private:
    bool enabled_;
    QString failOn_;
    std::vector<TraceLine> lines_;
};

}  // namespace orv::test
