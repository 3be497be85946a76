#pragma once

#include <QIcon>

#include <cstdint>

class QWidget;

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// The office icon service's pictures. A host without the service, or without that number,
// leaves the window or tool without a picture; it is never a reason for a window not to open.
QIcon officeIcon(platform::PlatformFactory& platform, std::int32_t number);
// Number 1000, the component's window icon.
void setOfficeWindowIcon(QWidget& window, platform::PlatformFactory& platform);

}  // namespace orv::ui
