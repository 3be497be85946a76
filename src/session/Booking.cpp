// Booking released entries as services of the office, one by one or summed per order.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "model/cLeistung.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OfficeServices.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <algorithm>
#include <vector>

namespace orv {
namespace {

QString summenKey(std::int32_t auftragId) {
    return QLatin1Char('a') + QString::number(auftragId);
}

// A summed service runs from the earliest begin to the latest end of its entries.
void zeitraumErweitern(cLeistung& summe, const cLeistung& leistung) {
    if (leistung.Beginn().isValid() &&
        (!summe.Beginn().isValid() || summe.Beginn() > leistung.Beginn())) {
        summe.Beginn(leistung.Beginn());
    }
    if (leistung.Ende().isValid() && (!summe.Ende().isValid() || summe.Ende() < leistung.Ende())) {
        summe.Ende(leistung.Ende());
    }
}

}  // namespace

void CStoppUhren::EinzelBuchen() {
    Procedure p(trace_, "EinzelBuchen");
    p.run([&] {
        std::unique_ptr<platform::BuchungsNachlauf> nachlauf = platform_.createBuchungsNachlauf();
        if (freigegeben_ != nullptr) {
            for (const std::shared_ptr<cLeistung>& leistung : *freigegeben_) {
                // Booked before a later entry's booking failed: booked once is enough.
                if (leistung->Status() >= AuftragStatus_Geloescht) {
                    continue;
                }
                // The service and the end of the provisional entry are one step: an entry is
                // never booked and still provisional, which would book it twice.
                RestorePoint point(*this);
                point.keep(*leistung).keep(leistung->Auftrag()).keep(LeerlaufAuftrag());
                point.run([&] {
                    if (DbAccess().InsertLeistung(*leistung) > 0) {
                        std::int32_t auftragId = leistung->Auftrag().AuftragId();
                        bool wert = false;
                        nachlauf->AuftragNachlauf(auftragId, wert);
                        leistung->Status(AuftragStatus_Geloescht);
                        leistung->Loeschen(wert);
                    }
                });
            }
        }
        nachlauf.reset();
        freigegeben_.reset();
        BeendeteAuftraegeLoeschen();
    });
}

void CStoppUhren::SammelBuchen() {
    Procedure p(trace_, "SammelBuchen");
    p.run([&] {
        if (freigegeben_ == nullptr || freigegeben_->Count() < 1) {
            freigegeben_.reset();
            return;
        }
        // All summed services and the end of all their entries are one step.
        RestorePoint point(*this);
        point.keep(LeerlaufAuftrag());
        for (const std::shared_ptr<cLeistung>& leistung : *freigegeben_) {
            point.keep(*leistung).keep(leistung->Auftrag());
        }
        point.run([&] { sammelBuchen(); });
        BeendeteAuftraegeLoeschen();
        freigegeben_.reset();
    });
}

void CStoppUhren::sammelBuchen() {
    // One new entry per office order collects the time and the text lines of its entries.
    KeyedCollection<cLeistung> summen;
    for (const std::shared_ptr<cLeistung>& leistung : *freigegeben_) {
        const std::int32_t auftragId = leistung->Auftrag().AuftragId();
        if (auftragId < 1) {
            continue;
        }
        std::shared_ptr<cLeistung> summe = summen.find(summenKey(auftragId));
        if (summe == nullptr) {
            summe = std::make_shared<cLeistung>(*this);
            summe->Auftrag(leistung->Auftrag());
            summen.Add(summe, summenKey(auftragId));
        }
        zeitraumErweitern(*summe, *leistung);
        for (const std::shared_ptr<CText>& zeile : leistung->Texte()) {
            summe->TextHinzufuegen(zeile->TextId(), zeile->Text());
        }
        summe->Sekunden(rt::addLong(summe->Sekunden(), leistung->Sekunden()));
        leistung->Status(AuftragStatus_Geloescht);
    }

    // Booked in the order of the office orders: two employees booking the same orders at once
    // take the orders' locks in the same order and never wait for each other in a circle.
    std::vector<std::shared_ptr<cLeistung>> folge;
    for (const std::shared_ptr<cLeistung>& summe : summen) {
        folge.push_back(summe);
    }
    std::stable_sort(folge.begin(), folge.end(), [](const auto& a, const auto& b) {
        return a->Auftrag().AuftragId() < b->Auftrag().AuftragId();
    });
    bool wert = false;
    {
        std::unique_ptr<platform::BuchungsNachlauf> nachlauf = platform_.createBuchungsNachlauf();
        for (const std::shared_ptr<cLeistung>& summe : folge) {
            DbAccess().InsertLeistung(*summe);
            std::int32_t auftragId = summe->Auftrag().AuftragId();
            nachlauf->AuftragNachlauf(auftragId, wert);
            summe->Status(AuftragStatus_Geloescht);
        }
    }
    for (const std::shared_ptr<cLeistung>& leistung : *freigegeben_) {
        const std::shared_ptr<cLeistung> summe =
            summen.find(summenKey(leistung->Auftrag().AuftragId()));
        if (summe != nullptr && summe->Status() == AuftragStatus_Geloescht) {
            leistung->Loeschen(wert);
        }
    }
}

}  // namespace orv
