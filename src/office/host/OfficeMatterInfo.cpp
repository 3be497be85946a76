#include "office/host/OfficeMatterInfo.h"

#include "persistence/DbService.h"

namespace orv::office {

OfficeMatterInfo::OfficeMatterInfo(db::Database& database) : database_(database) {}

bool OfficeMatterInfo::Read(bool& found) {
    mehrfachAnlage_ = false;
    kenner_ = 0;
    db::DbService service(database_);
    service.Open();
    found = service.OpenQuery(QStringLiteral("SELECT dbMehrfachAnlage, dlGgwKenner"
                                             " FROM tAngelegenheit WHERE idAngelegenheit = $1"),
                              db::Params{std::int64_t{angelegenheitId_}}) != 0;
    if (found) {
        mehrfachAnlage_ = service.FieldLong("dbMehrfachAnlage") != 0;
        kenner_ = service.FieldLong("dlGgwKenner");
    }
    return found;
}

void OfficeMatterInfo::Close() {
    angelegenheitId_ = 0;
    mehrfachAnlage_ = false;
    kenner_ = 0;
}

}  // namespace orv::office
