#pragma once

#include "platform/ErrorServer.h"

#include <vector>

namespace orv::test {

class CallJournal;

struct ErrorReport {
    std::int32_t number;
    QString source;
    QString description;
};

// The problem report window: keeps each report in a list that outlives the server object,
// which the component creates anew for every report. Told to fail, it refuses to show.
class RecordingErrorServer final : public platform::ErrorServer {
public:
    explicit RecordingErrorServer(std::vector<ErrorReport>& reports, bool failShowing = false,
                                  CallJournal* journal = nullptr);

    void TQ_gShowError(std::int32_t& number, QString& source, QString& description) override;

private:
    std::vector<ErrorReport>& reports_;
    bool failShowing_;
    CallJournal* journal_;
};

}  // namespace orv::test
