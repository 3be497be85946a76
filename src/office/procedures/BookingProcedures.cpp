#include "office/procedures/ProcedureSupport.h"

#include "persistence/driver/Connection.h"

namespace orv::office::procedures {
namespace {

// Books one service. Nothing is written, and @Success is 0, when the employee or the order is
// not in the office's master data.
std::int32_t insertLeistung(db::ProcedureCall& call) {
    db::Transaction transaction(call.db());
    const db::DbValue employee = number(call, "@MitarbeiterID");
    const db::DbValue order = number(call, "@AuftragID");
    std::int64_t id = 0;
    if (rowExists(call.db(), "SELECT 1 FROM tMitarbeiter WHERE idMitarbeiter = $1", {employee}) &&
        rowExists(call.db(), "SELECT 1 FROM tAuftrag WHERE idAuftrag = $1", {order})) {
        id = insertReturningId(
            call.db(),
            "INSERT INTO tLeistung (flMitarbeiter, flAuftrag, dtDatum, dmAnzahl, dtBeginn, dtEnde,"
            " dcNotiz, diArt, dtAngelegt) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9)"
            " RETURNING idLeistung",
            {employee, order, dateOrNull(call, "@Datum"), amount(call, "@Anzahl"),
             dateOrNull(call, "@Beginn"), dateOrNull(call, "@Ende"), text(call, "@Notiz"),
             number(call, "@Art"), workstationNow()});
    }
    transaction.commit();
    call.setValue("@Success", id);
    return id > 0 ? 1 : 0;
}

// Appends a text line to a service; lines keep the order in which they were added.
std::int32_t insertLeistungtext(db::ProcedureCall& call) {
    const std::int64_t id = insertReturningIdOrZero(
        call.db(),
        "INSERT INTO tLeistungText (flLeistung, diZeile, dcText)"
        " SELECT l.idLeistung,"
        " (SELECT COALESCE(MAX(t.diZeile), 0) + 1"
        " FROM tLeistungText t WHERE t.flLeistung = l.idLeistung),"
        " $2 FROM tLeistung l WHERE l.idLeistung = $1 RETURNING idLeistungText",
        {number(call, "@LeistungId"), text(call, "@Text")});
    call.setValue("@Success", id);
    return id > 0 ? 1 : 0;
}

}  // namespace

void addBookingProcedures(db::ProcedureCatalogue& catalogue) {
    catalogue.add({"S_ORV_Common_Korg_Insert_Leistung",
                   {in("@MitarbeiterID"), in("@AuftragID"), in("@Datum"), in("@Anzahl"),
                    in("@Beginn"), in("@Ende"), in("@Notiz"), in("@Art"), out("@Success")},
                   &insertLeistung});
    catalogue.add({"S_ORV_Common_Korg_Insert_Leistungtext",
                   {in("@LeistungId"), in("@Text"), out("@Success")},
                   &insertLeistungtext});
}

}  // namespace orv::office::procedures
