#pragma once

#include "platform/PlatformFactory.h"
#include "platform/host/PersonObjects.h"
#include "session/diagnostics/Procedure.h"

#include <QString>

#include <utility>

namespace orv {

// Creates an object of the host product inside a procedure. When the creation fails, the
// problem report carries what was tried as the office's diagnostic helper describes it; the
// helper is asked only then, since its description asks the database about its state.
template <typename Create>
auto createHostObject(Procedure& p, platform::PlatformFactory& platform, const QString& command,
                      const QString& library, Create&& create) -> decltype(create()) {
    try {
        return std::forward<Create>(create)();
    } catch (...) {
        try {
            p.setExtra(platform.erstellungsInfo().Info(command, library));
        } catch (...) {
            // Without a description the failed creation is still reported.
        }
        throw;
    }
}

}  // namespace orv
