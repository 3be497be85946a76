#include "session/diagnostics/ObjectTrace.h"

#include "platform/PlatformFactory.h"
#include "platform/TraceLogger.h"
#include "session/diagnostics/Version.h"

#include <utility>

namespace orv {
namespace {

constexpr std::int32_t kTraceLevel = 1;

}  // namespace

ObjectTrace::ObjectTrace(platform::PlatformFactory& platform, QString typeName)
    : platform_(platform),
      logger_(platform.createTraceLogger()),
      typeName_(std::move(typeName)),
      source_(QLatin1String(version::kProgramName) + QLatin1Char('.') + typeName_) {
    enabledAtCreation_ = enabled();
    if (enabledAtCreation_) {
        write(QStringLiteral("Class_Initialize"));
    }
}

ObjectTrace::~ObjectTrace() {
    if (enabledAtCreation_) {
        try {
            write(QStringLiteral("Class_Terminate"));
        } catch (...) {
            // A logger that fails while its object goes away has nobody left to tell.
        }
    }
}

bool ObjectTrace::enabled() const {
    return logger_ != nullptr && logger_->Enabled();
}

void ObjectTrace::write(const QString& text) const {
    logger_->Write(kTraceLevel, source_, text);
}

void ObjectTrace::trace(const QString& text) const {
    if (enabled()) {
        write(text);
    }
}

void ObjectTrace::traceBegin(const char* procedure) const {
    if (enabled()) {
        write(QLatin1String("Begin ") + QLatin1String(procedure));
    }
}

void ObjectTrace::traceEnd(const char* procedure) const {
    if (enabled()) {
        write(QLatin1String("End ") + QLatin1String(procedure));
    }
}

}  // namespace orv
