#pragma once

#include "platform/host/OrderObjects.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// A matter's facts from tAngelegenheit. The mode and the reference date are taken and kept:
// the office's matters do not change over time, so every mode reads the same facts.
class OfficeMatterInfo final : public platform::MatterInfo {
public:
    explicit OfficeMatterInfo(db::Database& database);

    void setAngelegenheitId(std::int32_t id) override { angelegenheitId_ = id; }
    void setModus(std::int32_t modus) override { modus_ = modus; }
    void setStichtag(const QDate& date) override { stichtag_ = date; }
    // found and the result: the matter exists. An unknown matter reads as an ordinary one.
    bool Read(bool& found) override;
    bool MehrfachAnlage() const override { return mehrfachAnlage_; }
    std::int32_t Kenner() const override { return kenner_; }
    void Close() override;

private:
    db::Database& database_;
    std::int32_t angelegenheitId_ = 0;
    std::int32_t modus_ = 0;
    QDate stichtag_;
    bool mehrfachAnlage_ = false;
    std::int32_t kenner_ = 0;
};

}  // namespace orv::office
