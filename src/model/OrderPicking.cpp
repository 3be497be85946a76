#include "model/OrderPicking.h"

#include "platform/PlatformFactory.h"
#include "platform/host/OrderObjects.h"
#include "session/CStoppUhren.h"

#include <algorithm>

namespace orv {
namespace {

constexpr std::int32_t kAuswahlModus = 1;  // the browser picks orders, it does not edit them

}  // namespace

std::int32_t pickOrderInBrowser(CStoppUhren& session, std::int32_t auftragMandantNr) {
    const std::int32_t mandantNr = auftragMandantNr > 0 ? auftragMandantNr : session.MandantNr();
    std::unique_ptr<platform::OrderBrowser> browser = session.platform().createOrderBrowser();
    browser->setMitarbeiter(session.MitarbeiterId());
    browser->setModus(kAuswahlModus);
    if (mandantNr >= 1) {
        browser->setFilter(QStringLiteral("ManNr"), mandantNr);
    }
    browser->setAuftragAnlageErlaubt(session.RechtAuftragBrowser());
    browser->Anzeigen();
    const std::vector<std::int32_t> selected = browser->AusgewaehlteAuftraege();
    return selected.empty() ? 0 : selected.front();
}

std::int32_t pickOrderInDisplay(CStoppUhren& session, std::int32_t auftragId) {
    using platform::OrderService;
    std::unique_ptr<OrderService> service = session.platform().createOrderService();
    std::int32_t aktion = OrderService::kAktionAnzeigen;
    service->Begin(aktion);
    const std::int32_t upperBound = service->ParameterUBound(aktion);
    std::vector<std::int32_t> parameter(static_cast<std::size_t>(std::max<std::int32_t>(
                                            upperBound, OrderService::kAnzeigenAuftrag)) +
                                        1);
    parameter[OrderService::kAnzeigenMitarbeiter] = session.MitarbeiterId();
    parameter[OrderService::kAnzeigenAuftrag] = auftragId;
    std::int32_t result = 0;
    service->Execute(parameter, result);
    service->End();
    // Only a single choice names the order to take.
    return parameter[OrderService::kAnzeigenAnzahl] == 1 ? parameter[OrderService::kAnzeigenAuftrag]
                                                         : 0;
}

}  // namespace orv
