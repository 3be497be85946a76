#include "session/ObjectDescriptionBatch.h"

#include "model/CAuftrag.h"
#include "persistence/DbService.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/Procedure.h"

namespace orv {
namespace {

// The statements of fsBezeichnungObjektNr for every order of the employee at once: its client,
// matter code, year, month and object number come from the same view the orders are read from,
// a missing one counting as 0 as it does for the order. The assessment tables name year, month
// and running number as the view does, so they are qualified here.
constexpr const char* kOrderKeys =
    "FROM V_ORV_Common_Korg_Leistungen_Zeiterfassung z"
    " INNER JOIN tGgwBasis ON flManId = COALESCE(z.flMandant, 0)"
    " AND tGgwBasis.dsKenner = CAST(COALESCE(z.Ang_GGWKenner, 0) AS VARCHAR(10))"
    " AND tGgwBasis.dlJahr = COALESCE(z.dlJahr, 0)"
    " AND tGgwBasis.diLfdNr = COALESCE(z.dlObjektNr, 0)";
constexpr const char* kOrdersOfEmployee =
    " WHERE z.ps_id = $1 AND z.VorgangParentId = 0 AND z.idAuftrag > 0";

}  // namespace

QString ObjectDescriptionBatch::objNameQuery() {
    return QStringLiteral("SELECT z.idLeistungZeiterfassung, dcBezeichnung AS bezeichnung ") +
           QLatin1String(kOrderKeys) +
           QStringLiteral(
               " INNER JOIN tGgwBetrag ON flGgwBasis = idGgwBasis"
               " INNER JOIN tGGWObjName ON tGGWObjName.flGgwBetrag = idGgwBetrag") +
           QLatin1String(kOrdersOfEmployee);
}

QString ObjectDescriptionBatch::grundlageQuery() {
    return QStringLiteral("SELECT z.idLeistungZeiterfassung, tGG.dsKenner AS bezeichnung ") +
           QLatin1String(kOrderKeys) +
           QStringLiteral(
               " AND tGgwBasis.diMonat = COALESCE(z.diMonat, 0)"
               " INNER JOIN tGgwBetrag ON flGgwBasis = idGgwBasis"
               " INNER JOIN tGgwBgBetrag ON tGgwBgBetrag.flGgwBetrag = idGgwBetrag"
               " INNER JOIN tGGWGrundlage as tGG ON tGG.flBgBetrag = idBgBetrag") +
           QLatin1String(kOrdersOfEmployee);
}

ObjectDescriptionBatch::ObjectDescriptionBatch(CStoppUhren& session, std::int32_t mitarbeiterId)
    : session_(session), mitarbeiterId_(mitarbeiterId) {}

void ObjectDescriptionBatch::vormerken(const std::shared_ptr<CAuftrag>& auftrag,
                                       std::int32_t kenner) {
    // Under the name of the single description, so a failure shows the same call path.
    Procedure p(session_.trace(), "fsBezeichnungObjektNr");
    p.run([&] {
        auto known = arten_.find(kenner);
        if (known == arten_.end()) {
            known = arten_.emplace(kenner, objektartenErfragen(session_, QString::number(kenner)))
                        .first;
        }
        objektartenSetzen(*auftrag, known->second);
        auftrag->ObjektBezeichnung(QString());
        if (known->second.vuv || known->second.grundlage()) {
            offen_.push_back({auftrag, known->second});
        }
    });
}

void ObjectDescriptionBatch::beschreiben() {
    if (offen_.empty()) {
        return;
    }
    Procedure p(session_.trace(), "fsBezeichnungObjektNr");
    p.run([&] {
        bool vuv = false;
        bool grundlage = false;
        for (const Offen& o : offen_) {
            vuv = vuv || o.arten.vuv;
            grundlage = grundlage || o.arten.grundlage();
        }
        const QHash<std::int32_t, QString> objNamen =
            vuv ? bezeichnungen(objNameQuery()) : QHash<std::int32_t, QString>();
        const QHash<std::int32_t, QString> grundlagen =
            grundlage ? bezeichnungen(grundlageQuery()) : QHash<std::int32_t, QString>();
        // A designation of the assessment basis replaces that of a rental object.
        for (const Offen& o : offen_) {
            CAuftrag& auftrag = *o.auftrag;
            const QHash<std::int32_t, QString>& quelle =
                o.arten.grundlage() ? grundlagen : objNamen;
            auftrag.ObjektBezeichnung(objektText(auftrag.ObjektNr(), quelle.value(auftrag.Id())));
        }
        offen_.clear();
    });
}

QHash<std::int32_t, QString> ObjectDescriptionBatch::bezeichnungen(const QString& sql) const {
    QHash<std::int32_t, QString> found;
    db::DbService service(session_.platform().officeDatabase());
    service.Open();
    if (service.OpenQuery(sql, db::Params{std::int64_t{mitarbeiterId_}}) >= 1) {
        do {
            // The first row of an order stands, as the first row of its own query would.
            const std::int32_t id = service.FieldLong("idLeistungZeiterfassung", 0);
            if (!found.contains(id)) {
                found.insert(id, service.FieldText("bezeichnung", QString()));
            }
        } while (service.Move(3));
    }
    service.CloseQuery();
    service.Close();
    return found;
}

}  // namespace orv
