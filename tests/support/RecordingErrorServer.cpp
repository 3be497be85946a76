#include "RecordingErrorServer.h"

#include "CallJournal.h"

#include "session/diagnostics/OrvError.h"

namespace orv::test {

RecordingErrorServer::RecordingErrorServer(std::vector<ErrorReport>& reports, bool failShowing,
                                           CallJournal* journal)
    : reports_(reports), failShowing_(failShowing), journal_(journal) {}

void RecordingErrorServer::TQ_gShowError(std::int32_t& number, QString& source,
                                         QString& description) {
    note(journal_, QStringLiteral("ErrorServer.TQ_gShowError"));
    if (failShowing_) {
        throw OrvError(err::kInvalidCall, QStringLiteral("srvTQ.TQErrorClass"),
                       QStringLiteral("Der Problembericht konnte nicht angezeigt werden."));
    }
    reports_.push_back({number, source, description});
}

}  // namespace orv::test
