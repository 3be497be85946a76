#include "office/host/OfficeQeGgwBasis.h"

#include "persistence/DbService.h"

namespace orv::office {
namespace {

// diGgwArt of tGgwKennerArt.
constexpr int kRentalIncome = 1;
constexpr int kValuation = 2;
constexpr int kGift = 3;
constexpr int kInheritance = 4;
constexpr int kLandTax = 5;

}  // namespace

OfficeQeGgwBasis::OfficeQeGgwBasis(db::Database& database) : database_(database) {}

bool OfficeQeGgwBasis::IsVuV(const QString& kenner) {
    return hasKind(kenner, kRentalIncome);
}

bool OfficeQeGgwBasis::IsBewertung(const QString& kenner) {
    return hasKind(kenner, kValuation);
}

bool OfficeQeGgwBasis::IsSchenkung(const QString& kenner) {
    return hasKind(kenner, kGift);
}

bool OfficeQeGgwBasis::IsErbschaft(const QString& kenner) {
    return hasKind(kenner, kInheritance);
}

bool OfficeQeGgwBasis::IsGrundsteuer(const QString& kenner) {
    return hasKind(kenner, kLandTax);
}

bool OfficeQeGgwBasis::hasKind(const QString& kenner, int kind) {
    bool whole = false;
    const std::int32_t code = kenner.trimmed().toInt(&whole, 10);
    if (!whole) {
        return false;
    }
    db::DbService service(database_);
    service.Open();
    if (service.OpenQuery(
            QStringLiteral("SELECT diGgwArt FROM tGgwKennerArt WHERE dlGgwKenner = $1"),
            db::Params{std::int64_t{code}}) == 0) {
        return false;
    }
    return service.FieldLong("diGgwArt") == kind;
}

}  // namespace orv::office
