#pragma once

#include "platform/ErrorServer.h"
#include "session/diagnostics/OrvError.h"

#include <vector>

namespace orv::test {

struct ErrorReport {
    std::int32_t number;
    QString source;
    QString description;
};

// The problem report window: keeps each report in a list that outlives the server object,
// which the component creates anew for every report. Told to fail, it refuses to show.
class RecordingErrorServer final : public platform::ErrorServer {
public:
    explicit RecordingErrorServer(std::vector<ErrorReport>& reports, bool failShowing = false)
        : reports_(reports), failShowing_(failShowing) {}

    void TQ_gShowError(std::int32_t& number, QString& source, QString& description) override {
        if (failShowing_) {
            throw OrvError(err::kInvalidCall, QStringLiteral("srvTQ.TQErrorClass"),
                           QStringLiteral("Der Problembericht konnte nicht angezeigt werden."));
        }
        reports_.push_back({number, source, description});
    }

private:
    std::vector<ErrorReport>& reports_;
    bool failShowing_;
};

}  // namespace orv::test
