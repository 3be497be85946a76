#pragma once

#include "ORVkStoppUhren/Export.h"

#include <memory>

namespace orv::db {
class Database;
}

namespace orv::platform {
class Clock;
class PlatformFactory;
}  // namespace orv::platform

// The platform of the component with its windows, for a desktop host: the office's objects over
// `database`, the workstation clock (or `clock`, when given), Qt message boxes, the trace file,
// the problem report and every window. Both arguments must outlive the platform, and the
// platform the component.
extern "C" ORV_EXPORT orv::platform::PlatformFactory* ORVkStoppUhren_CreateDesktopPlatform(
    orv::db::Database* database, const orv::platform::Clock* clock);

namespace orv {

inline std::unique_ptr<platform::PlatformFactory> CreateDesktopPlatform(
    db::Database& database, const platform::Clock* clock = nullptr) {
    return std::unique_ptr<platform::PlatformFactory>(
        ORVkStoppUhren_CreateDesktopPlatform(&database, clock));
}

}  // namespace orv
