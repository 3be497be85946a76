#include "office/procedures/ProcedureSupport.h"

#include "persistence/driver/Connection.h"

namespace orv::office::procedures {
namespace {

// A new order or entry row. Empty keys become NULL: the start-up clean-up recognises order rows
// by "VorgangParentKey IS NULL". Unset dates stay NULL, unset numbers become 0.
std::int32_t insertZeiterfassung(db::ProcedureCall& call) {
    const std::int64_t id = insertReturningId(
        call.db(),
        "INSERT INTO tLeistungZeiterfassung (ps_id, idAuftrag, VorgangKey, VorgangParentId,"
        " VorgangParentKey, Status, Beginn, Ende, Text1, Text2, Sekunden, BearbeitungsArt,"
        " VerwaltungsLeistung, VerwaltungsLeistungHerkunft)"
        " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14)"
        " RETURNING idLeistungZeiterfassung",
        {number(call, "@MitarbeiterID"), number(call, "@AuftragID"), call.textOrNull("@Key"),
         number(call, "@ParentID"), call.textOrNull("@ParentKey"), number(call, "@Status"),
         dateOrNull(call, "@Beginn"), dateOrNull(call, "@Ende"), text(call, "@Text1"),
         text(call, "@Text2"), number(call, "@Sekunden"), number(call, "@BearbeitungsArt"),
         number(call, "@VerwaltungsLeistung"), number(call, "@VerwaltungsLeistungHerkunft")});
    call.setValue("@Success", id);
    return 1;
}

// Rewrites the changeable columns of a row; NULL dates clear Beginn and Ende.
std::int32_t updateZeiterfassung(db::ProcedureCall& call) {
    const std::int64_t changed = execute(
        call.db(),
        "UPDATE tLeistungZeiterfassung SET Status = $2, idAuftrag = $3, Beginn = $4, Ende = $5,"
        " Text1 = $6, Text2 = $7, Sekunden = $8, BearbeitungsArt = $9, VerwaltungsLeistung = $10,"
        " VerwaltungsLeistungHerkunft = $11 WHERE idLeistungZeiterfassung = $1",
        {number(call, "@VorgangID"), number(call, "@Status"), number(call, "@AuftragID"),
         dateOrNull(call, "@Beginn"), dateOrNull(call, "@Ende"), text(call, "@Text1"),
         text(call, "@Text2"), number(call, "@Sekunden"), number(call, "@BearbeitungsArt"),
         number(call, "@VerwaltungsLeistung"), number(call, "@VerwaltungsLeistungHerkunft")});
    return changed > 0 ? 1 : 0;
}

// A new text line of an entry. An entry row that is gone gets no line and @TextID 0, so the
// entry inserts the line again at its next save.
std::int32_t insertText(db::ProcedureCall& call) {
    // One statement: a text line is saved with every entry save, and each round trip counts.
    const std::int64_t id = insertReturningIdOrZero(
        call.db(),
        "INSERT INTO tLeistungZeiterfassungTexte (flLeistungZeiterfassung,"
        " LeistungZeiterfassungText) SELECT idLeistungZeiterfassung, $2 FROM tLeistungZeiterfassung"
        " WHERE idLeistungZeiterfassung = $1 RETURNING idLeistungZeiterfassungTexte",
        {number(call, "@VorgangID"), text(call, "@Text")});
    call.setValue("@TextID", id);
    return id > 0 ? 1 : 0;
}

std::int32_t updateText(db::ProcedureCall& call) {
    const std::int64_t changed =
        execute(call.db(),
                "UPDATE tLeistungZeiterfassungTexte SET LeistungZeiterfassungText = $1"
                " WHERE idLeistungZeiterfassungTexte = $2",
                {text(call, "@Text"), number(call, "@TextID")});
    return changed > 0 ? 1 : 0;
}

}  // namespace

void addTimeEntryProcedures(db::ProcedureCatalogue& catalogue) {
    catalogue.add({"S_ORV_Common_Korg_Insert_Zeiterfassung",
                   {in("@AuftragID"), in("@Key"), in("@ParentID"), in("@ParentKey"), in("@Status"),
                    in("@Beginn"), in("@Ende"), in("@Text1"), in("@Text2"), in("@Sekunden"),
                    in("@MitarbeiterID"), in("@BearbeitungsArt"), in("@VerwaltungsLeistung"),
                    in("@VerwaltungsLeistungHerkunft"), out("@Success")},
                   &insertZeiterfassung});
    catalogue.add({"S_ORV_Common_Korg_Update_Zeiterfassung",
                   {in("@VorgangID"), in("@Status"), in("@AuftragID"), in("@Beginn"), in("@Ende"),
                    in("@Text1"), in("@Text2"), in("@Sekunden"), in("@BearbeitungsArt"),
                    in("@VerwaltungsLeistung"), in("@VerwaltungsLeistungHerkunft")},
                   &updateZeiterfassung});
    catalogue.add({"S_ORV_Common_Korg_Insert_Text",
                   {in("@VorgangID"), in("@Text"), inOut("@TextID")},
                   &insertText});
    catalogue.add({"S_ORV_Common_Korg_Update_Text", {in("@Text"), in("@TextID")}, &updateText});
}

}  // namespace orv::office::procedures
