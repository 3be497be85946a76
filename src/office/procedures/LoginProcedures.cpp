#include "office/procedures/ProcedureSupport.h"

#include "persistence/driver/Connection.h"

namespace orv::office::procedures {
namespace {

// Opens a login of the employee, at the current time when none is given.
std::int32_t anmeldung(db::ProcedureCall& call) {
    QDateTime when = date(call, "@Anmeldung");
    if (!when.isValid()) {
        when = workstationNow();
    }
    const std::int64_t id =
        insertReturningId(call.db(),
                          "INSERT INTO tLeistungZeiterfassungLogins (Ps_Id,"
                          " LeistungserfassungAnmeldung, LoginArt) VALUES ($1, $2, 0)"
                          " RETURNING idLeistungZeiterfassungLogin",
                          {number(call, "@MitarbeiterID"), when});
    call.setValue("@AnmeldungId", id);
    return 1;
}

// A complete login for a past period. A period without both ends, or one that ends before it
// begins, is not written and answers 0.
std::int32_t login(db::ProcedureCall& call) {
    const QDateTime von = date(call, "@Anmeldung");
    const QDateTime bis = date(call, "@Abmeldung");
    if (!von.isValid() || !bis.isValid() || von > bis) {
        call.setValue("@AnmeldungId", std::int64_t{0});
        return 0;
    }
    const std::int64_t id =
        insertReturningId(call.db(),
                          "INSERT INTO tLeistungZeiterfassungLogins (Ps_Id,"
                          " LeistungserfassungAnmeldung, LeistungserfassungAbmeldung, LoginArt)"
                          " VALUES ($1, $2, $3, $4) RETURNING idLeistungZeiterfassungLogin",
                          {number(call, "@MitarbeiterID"), von, bis, number(call, "@LoginArt")});
    call.setValue("@AnmeldungId", id);
    return 1;
}

// Counts the employee's logins that share time with the period; an open login lasts until now.
// Periods that only touch do not overlap. A period without both ends, or one that ends before it
// begins, cannot be checked and answers -1, so the caller never treats it as free.
std::int32_t loginPruefen(db::ProcedureCall& call) {
    const QDateTime von = date(call, "@Anmeldung");
    const QDateTime bis = date(call, "@Abmeldung");
    if (!von.isValid() || !bis.isValid() || von > bis) {
        call.setValue("@Return", std::int64_t{-1});
        return 0;
    }
    const db::DbValue params[] = {number(call, "@MitarbeiterID"), von, bis, workstationNow()};
    auto cursor = call.db().query(
        "SELECT COUNT(*) FROM tLeistungZeiterfassungLogins WHERE Ps_Id = $1"
        " AND LeistungserfassungAnmeldung < $3 AND COALESCE(LeistungserfassungAbmeldung, $4) > $2",
        params);
    const std::int64_t overlapping = cursor->next() ? cursor->toInt64(0) : 0;
    call.setValue("@Return", overlapping);
    return 1;
}

}  // namespace

void addLoginProcedures(db::ProcedureCatalogue& catalogue) {
    catalogue.add({"S_ORV_Common_Korg_Leistungserfassung_Anmeldung",
                   {in("@MitarbeiterID"), in("@Anmeldung"), out("@AnmeldungId")},
                   &anmeldung});
    catalogue.add({"S_ORV_Common_Korg_Leistungserfassung_Login",
                   {in("@MitarbeiterID"), in("@Anmeldung"), in("@Abmeldung"), in("@LoginArt"),
                    out("@AnmeldungId")},
                   &login});
    catalogue.add({"S_ORV_Common_Korg_Leistungserfassung_LoginPruefen",
                   {in("@MitarbeiterID"), in("@Anmeldung"), in("@Abmeldung"), out("@Return")},
                   &loginPruefen});
}

}  // namespace orv::office::procedures
