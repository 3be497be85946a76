#pragma once

#include "session/diagnostics/OrvError.h"

#include <QString>

#include <exception>

namespace orv::platform {
class PlatformFactory;
}

namespace orv {

// Raises the component's own error, remembering the line it was raised on. (The builtin stands
// for std::source_location, which clang 14 cannot give with this standard library.)
[[noreturn]] void raiseError(std::int32_t number, const QString& description,
                             const QString& source = {}, int line = __builtin_LINE());

// Error 91: an object the procedure needs does not exist (yet).
[[noreturn]] void raiseObjectNotSet(const QString& what, int line = __builtin_LINE());

// Any exception as the component's error; errors of the runtime keep their usual numbers.
OrvError toOrvError(const std::exception_ptr& error);

// Marks a source with the component's version and name once; a source that already carries a
// tag (a "|" at position 13) passed through a component with the same routine and keeps it.
void TQ_gVersionTag(OrvError& error);

// Extends the error with the place of the procedure that handled it: the call path line, the
// extra information, the line number when known. Then re-raises it to the caller, or shows the
// problem report and returns.
void TQ_gErrorHandling(OrvError& error, const QString& procedure, const QString& module,
                       bool reraise, const QString& extra, platform::PlatformFactory& platform);

// Shows the problem report through the office's error server; when that cannot be created or
// fails, through a message box that tells both errors.
void TQ_gShowProblem(const OrvError& error, platform::PlatformFactory& platform);

}  // namespace orv
