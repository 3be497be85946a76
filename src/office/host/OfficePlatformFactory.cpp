#include "office/host/OfficePlatformFactory.h"

#include "office/host/OfficeAnwesenheit.h"
#include "office/host/OfficeAuftragBenachrichtigung.h"
#include "office/host/OfficeBuchungsNachlauf.h"
#include "office/host/OfficeErstellungsInfo.h"
#include "office/host/OfficeGlobaleWerte.h"
#include "office/host/OfficeMatterInfo.h"
#include "office/host/OfficeMitarbeiter.h"
#include "office/host/OfficeOrder.h"
#include "office/host/OfficeOrderLookup.h"
#include "office/host/OfficeOrderService.h"
#include "office/host/OfficePersonStamm.h"
#include "office/host/OfficeQeGgwBasis.h"
#include "office/host/OfficeQeLeistung.h"
#include "platform/timer/EventLoopTimer.h"

namespace orv::office {

OfficePlatformFactory::OfficePlatformFactory(db::Database& database) : database_(database) {}

OfficePlatformFactory::~OfficePlatformFactory() = default;

std::unique_ptr<platform::TimerObject> OfficePlatformFactory::createTimer() {
    return std::make_unique<platform::EventLoopTimer>();
}

std::unique_ptr<platform::PersonStamm> OfficePlatformFactory::createPersonStamm() {
    return std::make_unique<OfficePersonStamm>(database_);
}

std::unique_ptr<platform::Mitarbeiter> OfficePlatformFactory::createMitarbeiter() {
    return std::make_unique<OfficeMitarbeiter>(database_);
}

platform::ErstellungsInfo& OfficePlatformFactory::erstellungsInfo() {
    if (!erstellungsInfo_) {
        erstellungsInfo_ = std::make_unique<OfficeErstellungsInfo>(database_);
    }
    return *erstellungsInfo_;
}

std::unique_ptr<platform::AnwesenheitsObjekt> OfficePlatformFactory::createAnwesenheitsObjekt() {
    return std::make_unique<OfficeAnwesenheit>(database_);
}

std::unique_ptr<platform::BuchungsNachlauf> OfficePlatformFactory::createBuchungsNachlauf() {
    return std::make_unique<OfficeBuchungsNachlauf>(database_);
}

std::unique_ptr<platform::OfficeOrder> OfficePlatformFactory::createOfficeOrder() {
    return std::make_unique<OfficeOrder>(database_);
}

std::unique_ptr<platform::OrderService> OfficePlatformFactory::createOrderService() {
    return std::make_unique<OfficeOrderService>(database_);
}

std::unique_ptr<platform::MatterInfo> OfficePlatformFactory::createMatterInfo() {
    return std::make_unique<OfficeMatterInfo>(database_);
}

std::unique_ptr<platform::OrderLookup> OfficePlatformFactory::createOrderLookup() {
    return std::make_unique<OfficeOrderLookup>(database_);
}

std::unique_ptr<platform::GlobaleWerte> OfficePlatformFactory::createGlobaleWerte() {
    return std::make_unique<OfficeGlobaleWerte>(database_);
}

std::unique_ptr<platform::AuftragBenachrichtigung>
OfficePlatformFactory::createAuftragBenachrichtigung() {
    return std::make_unique<OfficeAuftragBenachrichtigung>(database_);
}

std::unique_ptr<platform::CQeGgwBasis> OfficePlatformFactory::createCQeGgwBasis() {
    return std::make_unique<OfficeQeGgwBasis>(database_);
}

std::unique_ptr<platform::CQeLeistung> OfficePlatformFactory::createCQeLeistung() {
    return std::make_unique<OfficeQeLeistung>(database_);
}

}  // namespace orv::office
