#include "RecordingErrorServer.h"

#include "session/diagnostics/OrvError.h"

namespace orv::test {

void RecordingErrorServer::TQ_gShowError(std::int32_t& number, QString& source,
                                         QString& description) {
    if (failShowing_) {
        throw OrvError(err::kInvalidCall, QStringLiteral("srvTQ.TQErrorClass"),
                       QStringLiteral("Der Problembericht konnte nicht angezeigt werden."));
    }
    reports_.push_back({number, source, description});
}

}  // namespace orv::test
