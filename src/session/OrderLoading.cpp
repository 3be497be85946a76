// Loading the employee's orders and entries when a session starts, and tidying them later.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "persistence/DbService.h"
#include "persistence/OneTransaction.h"
#include "platform/PlatformFactory.h"
#include "session/ObjectDescriptionBatch.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <vector>

namespace orv {
void CStoppUhren::AuftraegeLeistungenLaden() {
    Procedure p(trace_, "AuftraegeLeistungenLaden");
    p.run([&] {
        KeyedCollection<cLeistung> leistungen;
        // Everything the session holds comes from the rows, also when a failed start is done
        // again: nothing of the first attempt may count twice.
        geladen_ = false;
        auftraege_.clear();
        leerlauf_ = nullptr;
        aktuellerAuftrag_ = nullptr;
        freigegeben_.reset();
        auftragsSekunden_ = 0;
        auftragLaeuft_ = false;
        zeitzaehlungAktiv_ = false;
        QString activeKey;
        bool leerlaufGefunden = false;
        ObjectDescriptionBatch beschreibungen(*this, mitarbeiterId_);
        db::DbService service(platform_.officeDatabase());
        service.Open();
        // The idle time never belongs to an office order, and a finished order without
        // entries has nothing left to book. Only idle rows that name an order are rewritten:
        // rewriting every employee's idle rows at each start makes the starts of a whole office
        // wait for, and deadlock with, each other and every running session's saves.
        // Both touch other employees' rows while their sessions write: a deadlock the server
        // breaks by giving one of them up is no reason for this start to fail.
        const auto aufraeumen = [&](const QString& sql) {
            db::inOneTransactionRetrying(
                platform_.officeDatabase(), [&] { service.Execute(sql); }, [] {});
        };
        aufraeumen(QStringLiteral(
            "UPDATE tLeistungZeiterfassung SET idAuftrag = 0 WHERE (VorgangKey = 'p0' or "
            "VorgangParentKey ='p0') AND idAuftrag <> 0"));
        aufraeumen(
            QStringLiteral("DELETE FROM tLeistungZeiterfassung WHERE VorgangParentKey IS NULL AND  "
                           "Status = 2") +
            QStringLiteral(" AND idLeistungZeiterfassung NOT IN (SELECT VorgangParentId FROm "
                           "tLeistungZeiterfassung)"));
        if (service.OpenQuery(
                QStringLiteral("SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung") +
                    QStringLiteral(" WHERE ps_id = ") + QString::number(mitarbeiterId_) +
                    QStringLiteral(" ORDER BY VorgangParentId ASC"),
                0, QString()) >= 1) {
            do {
                const std::int32_t parentId = service.FieldLong("VorgangParentId", 0);
                if (parentId == 0) {
                    const bool idle =
                        service.FieldText("VorgangKey", QString()) == CAuftrag::LeerlaufKey();
                    auto auftrag = std::make_shared<CAuftrag>(*this);
                    auftrag->Init(*this, idle, service.FieldLong("idLeistungZeitErfassung", 0),
                                  false);
                    auftrag->AuftragId(service.FieldLong("idAuftrag", 0));
                    auftrag->MandantId(service.FieldLong("flMandant", 0));
                    auftrag->MandantNr(service.FieldLong("Ps_nr", 0));
                    auftrag->Mandant(service.FieldText("Ps_Kurzname", QString()));
                    auftrag->AuftragArtNr(service.FieldLong("dlAuftragArtNr", 0));
                    auftrag->AuftragArt(service.FieldText("dcAuftragArt", QString()));
                    auftrag->AngelegenheitId(service.FieldLong("dlAngelegenheit", 0));
                    auftrag->AngelegenheitNr(service.FieldLong("dlAngelegenheitNr", 0));
                    auftrag->Angelegenheit(service.FieldText("dcAngelegenheit", QString()));
                    auftrag->Jahr(service.FieldLong("dlJahr", 0));
                    auftrag->Monat(service.FieldLong("diMonat", 0));
                    auftrag->LfdNr(service.FieldLong("diLfdNr", 0));
                    auftrag->ObjektNr(service.FieldLong("dlObjektNr", 0));
                    auftrag->AngelegenheitErweitert(
                        service.FieldText("dcAngelegenheitErweitert", QString()));
                    auftrag->LeistungsTextVorgabe(service.FieldText("Text1", QString()));
                    auftrag->Sekunden(service.FieldLong("Sekunden", 0));
                    auftrag->Beginn(service.FieldDate("Beginn", QDateTime()));
                    auftrag->Ende(service.FieldDate("Ende", QDateTime()));
                    auftrag->Status(service.FieldLong("Status", 0));
                    auftrag->Fakturiert(service.FieldLong("Fakturiert", 0) != 0);
                    if (auftrag->Status() == AuftragStatus_Aktiv) {
                        activeKey = auftrag->Key();
                    }
                    if (idle) {
                        leerlauf_ = std::move(auftrag);
                        leerlaufGefunden = true;
                    } else {
                        auftragsSekunden_ = rt::addLong(auftragsSekunden_, auftrag->Sekunden());
                        if (auftrag->AuftragId() > 0) {
                            beschreibungen.vormerken(auftrag,
                                                     service.FieldLong("Ang_GGWKenner", 0));
                        }
                        auftraege_.Add(auftrag, auftrag->Key());
                    }
                } else {
                    // The orders come first: they are described before their entries load.
                    beschreibungen.beschreiben();
                    auto leistung = std::make_shared<cLeistung>(*this);
                    leistung->Id(service.FieldLong("idLeistungZeitErfassung", 0));
                    const bool ofIdle =
                        service.FieldText("VorgangParentKey", QString()) == CAuftrag::LeerlaufKey();
                    const std::shared_ptr<CAuftrag> auftrag =
                        ofIdle ? leerlauf_
                               : auftraege_.item(QLatin1Char('a') + QString::number(parentId));
                    if (auftrag == nullptr) {
                        raiseObjectNotSet(QStringLiteral("Leerlauf"));
                    }
                    leistung->Init(*auftrag, false);
                    leistung->Sekunden(service.FieldLong("Sekunden", 0));
                    leistung->Beginn(service.FieldDate("Beginn", QDateTime()));
                    leistung->Ende(service.FieldDate("Ende", QDateTime()));
                    leistung->Notiz(service.FieldText("Text2", QString()));
                    leistung->Status(service.FieldLong("Status", 0));
                    auftrag->Leistungen().Add(leistung, leistung->Key());
                    leistungen.Add(leistung, leistung->Key());
                    if (ofIdle || leistung->Status() == AuftragStatus_Aktiv) {
                        auftrag->AktuelleLeistung(leistung);
                    }
                }
            } while (service.Move(3));
        }
        service.CloseQuery();
        service.Close();
        beschreibungen.beschreiben();

        if (!leistungen.empty()) {
            db::DbService texte(platform_.officeDatabase());
            texte.Open();
            if (texte.OpenQuery(
                    QStringLiteral(
                        "SELECT * FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte") +
                        QStringLiteral(" WHERE ps_id = ") + QString::number(mitarbeiterId_) +
                        QStringLiteral(" and vorgangparentid > 0"),
                    0, QString()) >= 1) {
                do {
                    leistungen
                        .item(QLatin1Char('l') +
                              QString::number(texte.FieldLong("idLeistungZeiterfassung", 0)))
                        ->TextHinzufuegen(texte.FieldLong("idLeistungZeiterfassungTexte", 0),
                                          texte.FieldText("LeistungZeiterfassungText", QString()));
                } while (texte.Move(3));
            }
            texte.CloseQuery();
            texte.Close();
        }

        if (!leerlaufGefunden) {
            // The idle order's row and its running entry are one step: an idle order without its
            // entry would count time that no entry holds.
            db::inOneTransaction(platform_.officeDatabase(), [&] {
                auto leerlauf = std::make_shared<CAuftrag>(*this);
                leerlauf->Init(*this, true, 0, false);
                leerlauf_ = leerlauf;
                leerlauf->Starten(true);
            });
        } else if (!activeKey.isEmpty() && activeKey != CAuftrag::LeerlaufKey()) {
            aktuellerAuftrag_ = auftraege_.item(activeKey);
            aktuellerAuftrag_->Starten(false);
            zeitzaehlungAktiv_ = true;
            mandantVorgabe_ = aktuellerAuftrag_->MandantId();
        } else if (activeKey == CAuftrag::LeerlaufKey()) {
            leerlauf_->Starten(false);
        }
        geladen_ = true;
    });
}

void CStoppUhren::BeendeteAuftraegeLoeschen() {
    Procedure p(trace_, "BeendeteAuftraegeLoeschen");
    p.run([&] {
        // Collected first: the walk over the orders must not remove from them.
        std::vector<std::shared_ptr<CAuftrag>> beendet;
        for (const std::shared_ptr<CAuftrag>& auftrag : auftraege_) {
            if (auftrag->Status() >= AuftragStatus_Beendet && auftrag->Leistungen().empty()) {
                beendet.push_back(auftrag);
            }
        }
        for (const std::shared_ptr<CAuftrag>& auftrag : beendet) {
            auftrag->Loeschen();
            auftraege_.Remove(auftrag->Key());
        }
    });
}

void CStoppUhren::LeistungenStatusKorrigieren() {
    Procedure p(trace_, "LeistungenStatusKorrigieren");
    p.run([&] {
        for (const std::shared_ptr<CAuftrag>& auftrag : auftraege_) {
            auftrag->LeistungenStatusKorrigieren();
        }
    });
}

}  // namespace orv
