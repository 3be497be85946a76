#pragma once

#include "platform/TraceLogger.h"

#include <QFile>

#include <memory>
#include <mutex>

namespace orv {

// The production trace log: a file named by the environment variable ORV_TRACE. Without it
// tracing is off and a trace call costs one check of a flag.
class FileTraceLogger final : public platform::TraceLogger {
public:
    // The logger every object of the process shares; reads ORV_TRACE once.
    static std::shared_ptr<FileTraceLogger> shared();

    explicit FileTraceLogger(const QString& path);  // empty path: tracing off

    void Write(std::int32_t level, const QString& source, const QString& message) override;
    bool Enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
    std::mutex mutex_;
    QFile file_;
};

}  // namespace orv
