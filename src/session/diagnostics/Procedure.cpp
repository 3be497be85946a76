#include "session/diagnostics/Procedure.h"

#include "session/diagnostics/ErrorHandling.h"

#include <QtGlobal>

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

void Procedure::reportFailure() noexcept {
    try {
        OrvError error = toOrvError(std::current_exception());
        TQ_gErrorHandling(error, QString::fromUtf8(name_), trace_.typeName(), false, extra_,
                          trace_.platform());
    } catch (...) {
        // The problem report itself failed (its message box threw): nobody is left to tell but
        // the process's own error output.
        qWarning("ORVkStoppUhren: Der Problembericht von %s konnte nicht angezeigt werden.", name_);
    }
}

}  // namespace orv
