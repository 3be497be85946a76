#include "office/procedures/ProcedureSupport.h"

namespace orv::office::procedures {

// 1 when the employee holds the right, else 0.
void addRightsFunction(db::ProcedureCatalogue& catalogue) {
    catalogue.addFunction({"F_ORV_System_CheckEmployeeRight_Function", 2,
                           "SELECT CASE WHEN EXISTS (SELECT 1 FROM tMitarbeiterRecht"
                           " WHERE flMitarbeiter = $1 AND dlRecht = $2) THEN 1 ELSE 0 END"});
}

}  // namespace orv::office::procedures
