#include "office/procedures/OfficeCatalogue.h"

#include "office/procedures/ProcedureSupport.h"
#include "persistence/ProcedureCatalogue.h"

namespace orv::office {

const db::ProcedureCatalogue& officeCatalogue() {
    static const db::ProcedureCatalogue catalogue = [] {
        db::ProcedureCatalogue c;
        procedures::addTimeEntryProcedures(c);
        procedures::addLoginProcedures(c);
        procedures::addUserSettingProcedures(c);
        procedures::addBookingProcedures(c);
        procedures::addRightsFunction(c);
        return c;
    }();
    return catalogue;
}

}  // namespace orv::office
