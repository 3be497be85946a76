#include "office/host/OfficeMitarbeiter.h"

#include "persistence/DbService.h"

namespace orv::office {

OfficeMitarbeiter::OfficeMitarbeiter(db::Database& database) : database_(database) {}

void OfficeMitarbeiter::setId(std::int32_t id) {
    id_ = id;
}

bool OfficeMitarbeiter::Load(bool withDetails) {
    nummer_ = 0;
    name_.clear();
    db::DbService service(database_);
    service.Open();
    if (service.OpenQuery(QStringLiteral("SELECT dlMitarbeiterNr, dcName FROM tMitarbeiter"
                                         " WHERE idMitarbeiter = $1"),
                          db::Params{std::int64_t{id_}}) == 0) {
        return false;
    }
    nummer_ = service.FieldLong("dlMitarbeiterNr");
    if (withDetails) {
        name_ = service.FieldText("dcName");
    }
    return true;
}

void OfficeMitarbeiter::Close() {
    id_ = 0;
    nummer_ = 0;
    name_.clear();
}

}  // namespace orv::office
