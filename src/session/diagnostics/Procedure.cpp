#include "session/diagnostics/Procedure.h"

#include "session/diagnostics/ErrorHandling.h"

namespace orv {

void Procedure::finish() {
    if (!traced_) {
        return;
    }
    if (endText_.isEmpty()) {
        trace_.traceEnd(name_);
    } else {
        trace_.trace(endText_);
    }
}

void Procedure::passOn() {
    OrvError error = toOrvError(std::current_exception());
    TQ_gErrorHandling(error, QString::fromUtf8(name_), trace_.typeName(), true, extra_,
                      trace_.platform());
    throw error;  // not reached: the routine re-raises
}

void Procedure::reportFailure() {
    OrvError error = toOrvError(std::current_exception());
    TQ_gErrorHandling(error, QString::fromUtf8(name_), trace_.typeName(), false, extra_,
                      trace_.platform());
}

}  // namespace orv
