#include "office/procedures/ProcedureSupport.h"

#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

namespace orv::office::procedures {
namespace {

// Settings are addressed by employee (0: office-wide), SubKey and Key; the data type travels
// with the value and takes no part in finding it.
db::DbValue subKey(const db::ProcedureCall& call) {
    const QString value = call.textValue("@SubKey");
    if (value.isEmpty()) {
        throw OrvError(err::kDatabase, QStringLiteral("Benutzereinstellung"),
                       QStringLiteral("Der Name (SubKey) der Benutzereinstellung fehlt."));
    }
    return value;
}

// @Value: the stored text, empty when the setting does not exist.
std::int32_t getUserSetting(db::ProcedureCall& call) {
    const db::DbValue params[] = {number(call, "@MitarbeiterID"), subKey(call),
                                  number(call, "@Key")};
    auto cursor = call.db().query(
        "SELECT dcValue FROM tBenutzerEinstellung"
        " WHERE flMitarbeiter = $1 AND dsSubKey = $2 AND diKey = $3",
        params);
    const bool found = cursor->next();
    call.setValue("@Value", found ? cursor->toText(0) : QString());
    return found ? 1 : 0;
}

std::int32_t setUserSetting(db::ProcedureCall& call) {
    execute(call.db(),
            "INSERT INTO tBenutzerEinstellung (flMitarbeiter, dsSubKey, diKey, dcValue, diDataType)"
            " VALUES ($1, $2, $3, $4, $5)"
            " ON CONFLICT (flMitarbeiter, dsSubKey, diKey)"
            " DO UPDATE SET dcValue = excluded.dcValue, diDataType = excluded.diDataType",
            {number(call, "@MitarbeiterID"), subKey(call), number(call, "@Key"),
             text(call, "@Value"), number(call, "@DataType")});
    return 1;
}

}  // namespace

void addUserSettingProcedures(db::ProcedureCatalogue& catalogue) {
    catalogue.add(
        {"S_ORV_VelmarNET_Get_UserSetting",
         {in("@MitarbeiterID"), in("@SubKey"), in("@Key"), inOut("@Value"), in("@DataType")},
         &getUserSetting});
    catalogue.add({"S_ORV_VelmarNET_Set_UserSetting",
                   {in("@MitarbeiterID"), in("@SubKey"), in("@Key"), in("@Value"), in("@DataType")},
                   &setUserSetting});
}

}  // namespace orv::office::procedures
