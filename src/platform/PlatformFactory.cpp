#include "platform/PlatformFactory.h"

#include "platform/ErrorServer.h"
#include "platform/MessageBoxes.h"
#include "platform/Timer.h"
#include "platform/TraceLogger.h"
#include "platform/Windows.h"
#include "platform/host/OfficeServices.h"
#include "platform/host/OrderObjects.h"
#include "platform/host/PersonObjects.h"
#include "session/diagnostics/OrvError.h"

namespace orv::platform {
namespace {

[[noreturn]] void notAvailable(const char* object) {
    throw OrvError(err::kCannotCreateObject, QStringLiteral("PlatformFactory"),
                   QStringLiteral("Objekterstellung durch ActiveX-Komponente nicht möglich: %1")
                       .arg(QLatin1String(object)));
}

}  // namespace

PlatformFactory::~PlatformFactory() = default;

// clang-format off
std::unique_ptr<ErrorServer> PlatformFactory::createErrorServer() { notAvailable("srvTQ.TQErrorClass"); }
std::unique_ptr<TimerObject> PlatformFactory::createTimer() { notAvailable("ORVkTimer.TimerObjekt"); }
std::unique_ptr<FrmStoppUhr> PlatformFactory::createFrmStoppUhr() { notAvailable("frmStoppUhr"); }
std::unique_ptr<FrmLeistung> PlatformFactory::createFrmLeistung() { notAvailable("frmLeistung"); }
std::unique_ptr<FrmLeistungUmbuchen> PlatformFactory::createFrmLeistungUmbuchen() { notAvailable("frmLeistungUmbuchen"); }
std::unique_ptr<FrmPause> PlatformFactory::createFrmPause() { notAvailable("frmPause"); }
std::unique_ptr<FrmExterneZeit> PlatformFactory::createFrmExterneZeit() { notAvailable("frmExterneZeit"); }
std::unique_ptr<FrmEigenschaften> PlatformFactory::createFrmEigenschaften() { notAvailable("frmEigenschaften"); }
std::unique_ptr<PersonStamm> PlatformFactory::createPersonStamm() { notAvailable("PersonStamm"); }
std::unique_ptr<Mitarbeiter> PlatformFactory::createMitarbeiter() { notAvailable("srvQeMit.QeMitarbeiterClass"); }
ErstellungsInfo& PlatformFactory::erstellungsInfo() { notAvailable("ErstellungsInfo"); }
std::unique_ptr<AnwesenheitsObjekt> PlatformFactory::createAnwesenheitsObjekt() { notAvailable("AnwesenheitsObjekt"); }
std::unique_ptr<BuchungsNachlauf> PlatformFactory::createBuchungsNachlauf() { notAvailable("BuchungsNachlauf"); }
std::unique_ptr<OfficeOrder> PlatformFactory::createOfficeOrder() { notAvailable("Auftrag"); }
std::unique_ptr<OrderBrowser> PlatformFactory::createOrderBrowser() { notAvailable("AuftragBrowser"); }
std::unique_ptr<OrderService> PlatformFactory::createOrderService() { notAvailable("OrderService"); }
std::unique_ptr<MatterInfo> PlatformFactory::createMatterInfo() { notAvailable("MatterInfo"); }
std::unique_ptr<OrderLookup> PlatformFactory::createOrderLookup() { notAvailable("OrderLookup"); }
std::unique_ptr<GlobaleWerte> PlatformFactory::createGlobaleWerte() { notAvailable("GlobaleWerte"); }
std::unique_ptr<AuftragBenachrichtigung> PlatformFactory::createAuftragBenachrichtigung() { notAvailable("AuftragBenachrichtigung"); }
std::unique_ptr<CQeGgwBasis> PlatformFactory::createCQeGgwBasis() { notAvailable("ORVkQeGgw.CQeGgwBasis"); }
std::unique_ptr<CQeLeistung> PlatformFactory::createCQeLeistung() { notAvailable("ORVkQeLeistung.CQeLeistung"); }
IconService& PlatformFactory::iconService() { notAvailable("IconService"); }
// clang-format on

}  // namespace orv::platform
