#pragma once

#include "platform/ErrorServer.h"

#include <vector>

namespace orv::test {

struct ErrorReport {
    std::int32_t number;
    QString source;
    QString description;
};

// The problem report window: keeps each report in a list that outlives the server object,
// which the component creates anew for every report.
class RecordingErrorServer final : public platform::ErrorServer {
public:
    explicit RecordingErrorServer(std::vector<ErrorReport>& reports) : reports_(reports) {}

    void TQ_gShowError(std::int32_t& number, QString& source, QString& description) override {
        reports_.push_back({number, source, description});
    }

private:
    std::vector<ErrorReport>& reports_;
};

}  // namespace orv::test
