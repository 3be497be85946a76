#include "RecordingTraceLogger.h"

namespace orv::test {

QStringList RecordingTraceLogger::messages(const QString& source) const {
    QStringList out;
    for (const TraceLine& line : lines_) {
        if (source.isEmpty() || line.source == source) {
            out << line.message;
        }
    }
    return out;
}

}  // namespace orv::test
