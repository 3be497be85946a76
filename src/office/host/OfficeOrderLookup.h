#pragma once

#include "platform/host/OrderObjects.h"

namespace orv::db {
class Database;
}

namespace orv::office {

// Finds the office's orders by client, period, order kind, matter, running number and object
// number. The condition text is accepted only in the one form the order control builds; its two
// numbers are taken out of it and bound, so no text of a caller reaches SQL. Orders of billing
// kind 9 are never found. A running number or object number of 0 is no criterion: the control
// passes 0 for a field it emptied.
class OfficeOrderLookup final : public platform::OrderLookup {
public:
    explicit OfficeOrderLookup(db::Database& database);

    bool Init() override;
    void setJahr(std::int32_t jahr) override { jahr_ = jahr; }
    void setMonat(std::int32_t monat) override { monat_ = monat; }
    void setMandantId(std::int32_t id) override { mandantId_ = id; }
    void setLfdNr(std::int32_t lfdNr) override { lfdNr_ = lfdNr; }
    void setObjektNr(std::int32_t objektNr) override { objektNr_ = objektNr; }
    // "plAuftragArtNr = <n> AND plAngelegenheitNr = <m> AND plAbrechnungsArt <> 9"; any other
    // text is refused with an OrvError and finds nothing. Every match is found, whatever all.
    void Search(const QString& condition, bool all) override;
    std::int32_t Read() override { return anzahl_; }
    // The first order found (lowest id), 0 when none.
    std::int32_t AuftragId() const override { return auftragId_; }
    // The first order's latest invoice, 0 while it is not invoiced.
    std::int32_t RechnungsVerweis() const override { return rechnungsVerweis_; }
    void Close() override;

private:
    void clearResult();

    db::Database& database_;
    std::int32_t jahr_ = 0;
    std::int32_t monat_ = 0;
    std::int32_t mandantId_ = 0;
    std::int32_t lfdNr_ = 0;
    std::int32_t objektNr_ = 0;
    std::int32_t anzahl_ = 0;
    std::int32_t auftragId_ = 0;
    std::int32_t rechnungsVerweis_ = 0;
};

}  // namespace orv::office
