// Booking released entries as services of the office, one by one or summed per order.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "model/cLeistung.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/MessageBoxes.h"
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
        std::vector<std::shared_ptr<CAuftrag>> abgelehnt;
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
                const bool gebucht = point.run([&] {
                    if (DbAccess().InsertLeistung(*leistung) <= 0) {
                        return false;
                    }
                    std::int32_t auftragId = leistung->Auftrag().AuftragId();
                    bool wert = false;
                    nachlauf->AuftragNachlauf(auftragId, wert);
                    leistung->Status(AuftragStatus_Geloescht);
                    leistung->Loeschen(wert);
                    laufendeLeistungErneuern();
                    return true;
                });
                if (!gebucht) {
                    abgelehnt.push_back(leistung->Auftrag().shared_from_this());
                }
            }
        }
        nachlauf.reset();
        freigegeben_.reset();
        BeendeteAuftraegeLoeschen();
        nichtGebuchtMelden(abgelehnt);
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
        const std::vector<std::shared_ptr<CAuftrag>> abgelehnt =
            point.run([&] { return sammelBuchen(); });
        BeendeteAuftraegeLoeschen();
        freigegeben_.reset();
        nichtGebuchtMelden(abgelehnt);
    });
}

std::vector<std::shared_ptr<CAuftrag>> CStoppUhren::sammelBuchen() {
    // One new entry per office order collects the time and the text lines of its entries.
    KeyedCollection<cLeistung> summen;
    std::vector<std::shared_ptr<cLeistung>> gesammelt;
    for (const std::shared_ptr<cLeistung>& leistung : *freigegeben_) {
        const std::int32_t auftragId = leistung->Auftrag().AuftragId();
        // Booked already, by a single booking that failed on a later entry.
        if (auftragId < 1 || leistung->Status() >= AuftragStatus_Geloescht) {
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
        gesammelt.push_back(leistung);
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
    std::vector<std::shared_ptr<CAuftrag>> abgelehnt;
    {
        std::unique_ptr<platform::BuchungsNachlauf> nachlauf = platform_.createBuchungsNachlauf();
        for (const std::shared_ptr<cLeistung>& summe : folge) {
            // A service the office refused books nothing: its entries stay provisional.
            if (DbAccess().InsertLeistung(*summe) <= 0) {
                abgelehnt.push_back(summe->Auftrag().shared_from_this());
                continue;
            }
            std::int32_t auftragId = summe->Auftrag().AuftragId();
            nachlauf->AuftragNachlauf(auftragId, wert);
            summe->Status(AuftragStatus_Geloescht);
        }
    }
    for (const std::shared_ptr<cLeistung>& leistung : gesammelt) {
        if (summen.item(summenKey(leistung->Auftrag().AuftragId()))->Status() ==
            AuftragStatus_Geloescht) {
            leistung->Status(AuftragStatus_Geloescht);
            leistung->Loeschen(wert);
        }
    }
    laufendeLeistungErneuern();
    return abgelehnt;
}

void CStoppUhren::nichtGebuchtMelden(const std::vector<std::shared_ptr<CAuftrag>>& auftraege) {
    std::vector<std::int32_t> gemeldet;
    for (const std::shared_ptr<CAuftrag>& auftrag : auftraege) {
        if (std::find(gemeldet.begin(), gemeldet.end(), auftrag->AuftragId()) != gemeldet.end()) {
            continue;
        }
        gemeldet.push_back(auftrag->AuftragId());
        if (auftragVorhanden(*auftrag)) {
            platform_.messageBoxes().show(
                QStringLiteral("Die vorläufigen Leistungen des Auftrags ") + auftragText(*auftrag) +
                    QStringLiteral(" wurden nicht gebucht und bleiben vorläufig."),
                platform::MsgButtons::OkOnly, platform::MsgIcon::Information,
                QStringLiteral("Stoppuhren"));
        }
    }
}

}  // namespace orv
