#include "office/host/OfficeOrder.h"

#include "persistence/DbService.h"

namespace orv::office {

OfficeOrder::OfficeOrder(db::Database& database) : database_(database) {}

// The joins and columns follow V_ORV_Common_Korg_Leistungen_Zeiterfassung: the order kind and
// matter numbers are the order's own copies, the client's name is its short name. Every invoice
// of an order is a row of tRechnung; flRechnung names only the latest of them.
bool OfficeOrder::Load(std::int32_t auftragId) {
    values_ = Values{};
    db::DbService service(database_);
    service.Open();
    if (service.OpenQuery(
            QStringLiteral(
                "SELECT a.flMandant, p.Ps_Kurzname, p.Ps_Nr, a.flAngelegenheit,"
                " a.dlAngelegenheitNr, ang.dcAngelegenheit, a.dcAngelegenheitErweitert,"
                " a.dlAuftragArtNr, art.dcAuftragArt, a.diLfdNr, a.dlObjektNr, a.dlJahr,"
                " a.diMonat,"
                " (SELECT COUNT(*) FROM tRechnung r WHERE r.flAuftrag = a.idAuftrag) AS Rechnungen"
                " FROM tAuftrag a"
                " LEFT JOIN tPersonStamm p ON p.Ps_Id = a.flMandant"
                " LEFT JOIN tAuftragArt art ON art.idAuftragArt = a.flAuftragArt"
                " LEFT JOIN tAngelegenheit ang ON ang.idAngelegenheit = a.flAngelegenheit"
                " WHERE a.idAuftrag = $1"),
            db::Params{std::int64_t{auftragId}}) == 0) {
        return false;
    }
    // Read aside first: a failing read leaves no half-filled order behind.
    Values read;
    read.mandantId = service.FieldLong("flMandant");
    read.mandant = service.FieldText("Ps_Kurzname");
    read.mandantNr = service.FieldLong("Ps_Nr");
    read.angelegenheitId = service.FieldLong("flAngelegenheit");
    read.angelegenheitNr = service.FieldLong("dlAngelegenheitNr");
    read.angelegenheit = service.FieldText("dcAngelegenheit");
    read.angelegenheitErweitert = service.FieldText("dcAngelegenheitErweitert");
    read.auftragArtNr = service.FieldLong("dlAuftragArtNr");
    read.auftragArt = service.FieldText("dcAuftragArt");
    read.lfdNr = service.FieldLong("diLfdNr");
    read.objektNr = service.FieldLong("dlObjektNr");
    read.jahr = service.FieldLong("dlJahr");
    read.monat = service.FieldLong("diMonat");
    read.rechnungen = service.FieldLong("Rechnungen");
    values_ = std::move(read);
    return true;
}

void OfficeOrder::Close() {
    values_ = Values{};
}

}  // namespace orv::office
