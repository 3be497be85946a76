#pragma once

#include <QString>

#include <memory>

namespace orv::platform {
class PlatformFactory;
class TraceLogger;
}  // namespace orv::platform

namespace orv {

// An object's own trace logger. Created with the object: writes "Class_Initialize" when tracing
// is on then, and "Class_Terminate" at the end only if it was. Also the way back to the platform
// for the object's error reports.
class ObjectTrace {
public:
    ObjectTrace(platform::PlatformFactory& platform, QString typeName);
    ~ObjectTrace();
    ObjectTrace(const ObjectTrace&) = delete;
    ObjectTrace& operator=(const ObjectTrace&) = delete;

    // Writes a line when tracing is on; asks the logger each time, so switching it on or off
    // takes effect at once.
    void trace(const QString& text) const;
    void traceBegin(const char* procedure) const;
    void traceEnd(const char* procedure) const;
    bool enabled() const;

    const QString& typeName() const { return typeName_; }
    platform::PlatformFactory& platform() const { return platform_; }

private:
    void write(const QString& text) const;

    platform::PlatformFactory& platform_;
    std::shared_ptr<platform::TraceLogger> logger_;
    QString typeName_;
    QString source_;
    bool enabledAtCreation_ = false;
};

}  // namespace orv
