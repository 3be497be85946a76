#include "ui/controls/OfficeIcons.h"

#include "platform/PlatformFactory.h"
#include "platform/host/OfficeServices.h"
#include "session/diagnostics/OrvError.h"

#include <QWidget>

namespace orv::ui {

QIcon officeIcon(platform::PlatformFactory& platform, std::int32_t number) {
    try {
        const QString path = platform.iconService().Icon(number);
        return path.isEmpty() ? QIcon() : QIcon(path);
    } catch (const OrvError&) {
        return {};
    }
}

void setOfficeWindowIcon(QWidget& window, platform::PlatformFactory& platform) {
    const QIcon icon = officeIcon(platform, 1000);
    if (!icon.isNull()) {
        window.setWindowIcon(icon);
    }
}

}  // namespace orv::ui
