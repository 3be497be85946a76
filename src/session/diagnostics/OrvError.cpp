#include "session/diagnostics/OrvError.h"

#include <utility>

namespace orv {

OrvError::OrvError(std::int32_t number, QString source, QString description, int line)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      line_(line) {
    refreshWhat();
}

void OrvError::setSource(QString source) {
    source_ = std::move(source);
    refreshWhat();
}

void OrvError::setDescription(QString description) {
    description_ = std::move(description);
    refreshWhat();
}

void OrvError::refreshWhat() {
    what_ = QStringLiteral("Fehler %1: %2 (%3)").arg(number_).arg(description_, source_).toUtf8();
}

}  // namespace orv
