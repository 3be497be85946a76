#pragma once

#include <QString>

#include <cstdint>

namespace orv::platform {

// Where trace lines go. Enabled is asked before every line, so it must be cheap.
class TraceLogger {
public:
    virtual ~TraceLogger() = default;
    virtual void Write(std::int32_t level, const QString& source, const QString& message) = 0;
    virtual bool Enabled() const = 0;
};

}  // namespace orv::platform
