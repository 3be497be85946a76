#include "office/host/OfficePersonStamm.h"

#include "persistence/DbService.h"

namespace orv::office {

OfficePersonStamm::OfficePersonStamm(db::Database& database) : database_(database) {}

void OfficePersonStamm::setId(std::int32_t id) {
    id_ = id;
}

void OfficePersonStamm::setKanzlei(bool kanzlei) {
    kanzlei_ = kanzlei;
}

bool OfficePersonStamm::Load(bool withDetails) {
    nummer_ = 0;
    kurzname_.clear();
    db::DbService service(database_);
    service.Open();
    const QString sql = kanzlei_ ? QStringLiteral(
                                       "SELECT Ps_Nr, Ps_Kurzname FROM tPersonStamm"
                                       " WHERE Ps_Id = $1 AND Ps_IstKanzlei <> 0")
                                 : QStringLiteral(
                                       "SELECT Ps_Nr, Ps_Kurzname FROM tPersonStamm"
                                       " WHERE Ps_Id = $1 AND Ps_IstKanzlei = 0");
    if (service.OpenQuery(sql, db::Params{std::int64_t{id_}}) == 0) {
        return false;
    }
    nummer_ = service.FieldLong("Ps_Nr");
    if (withDetails) {
        kurzname_ = service.FieldText("Ps_Kurzname");
    }
    return true;
}

void OfficePersonStamm::Close() {
    id_ = 0;
    kanzlei_ = false;
    nummer_ = 0;
    kurzname_.clear();
}

}  // namespace orv::office
