#include "office/procedures/OfficeCatalogue.h"

#include "persistence/ProcedureCatalogue.h"

namespace orv::office {

const db::ProcedureCatalogue& officeCatalogue() {
    static const db::ProcedureCatalogue catalogue = [] {
        db::ProcedureCatalogue c;
        return c;
    }();
    return catalogue;
}

}  // namespace orv::office
