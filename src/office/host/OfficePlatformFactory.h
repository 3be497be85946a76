#pragma once

#include "office/host/OfficeIconService.h"
#include "platform/PlatformFactory.h"

#include <memory>

namespace orv::office {

class OfficeErstellungsInfo;

// The host objects of the office product over the office database, and the production timer.
// Time, message boxes, tracing and the windows stay with whoever runs the component: the host
// application or a test.
class OfficePlatformFactory : public platform::PlatformFactory {
public:
    explicit OfficePlatformFactory(db::Database& database);
    ~OfficePlatformFactory() override;

    db::Database& officeDatabase() override { return database_; }

    std::unique_ptr<platform::TimerObject> createTimer() override;

    std::unique_ptr<platform::PersonStamm> createPersonStamm() override;
    std::unique_ptr<platform::Mitarbeiter> createMitarbeiter() override;
    platform::ErstellungsInfo& erstellungsInfo() override;
    std::unique_ptr<platform::AnwesenheitsObjekt> createAnwesenheitsObjekt() override;
    std::unique_ptr<platform::BuchungsNachlauf> createBuchungsNachlauf() override;
    std::unique_ptr<platform::OfficeOrder> createOfficeOrder() override;
    std::unique_ptr<platform::OrderService> createOrderService() override;
    std::unique_ptr<platform::MatterInfo> createMatterInfo() override;
    std::unique_ptr<platform::OrderLookup> createOrderLookup() override;
    std::unique_ptr<platform::GlobaleWerte> createGlobaleWerte() override;
    std::unique_ptr<platform::AuftragBenachrichtigung> createAuftragBenachrichtigung() override;
    std::unique_ptr<platform::CQeGgwBasis> createCQeGgwBasis() override;
    std::unique_ptr<platform::CQeLeistung> createCQeLeistung() override;
    platform::IconService& iconService() override { return icons_; }

private:
    db::Database& database_;
    std::unique_ptr<OfficeErstellungsInfo> erstellungsInfo_;
    OfficeIconService icons_;
};

}  // namespace orv::office
