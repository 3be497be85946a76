#include "office/host/OfficeIconService.h"

#include <QFile>

namespace orv::office {

QString OfficeIconService::Icon(std::int32_t number) {
    const QString path = QStringLiteral(":/orv/icons/%1.svg").arg(number);
    return QFile::exists(path) ? path : QString();
}

}  // namespace orv::office
