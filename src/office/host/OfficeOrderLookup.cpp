#include "office/host/OfficeOrderLookup.h"

#include "persistence/DbService.h"
#include "session/diagnostics/OrvError.h"

#include <QRegularExpression>

namespace orv::office {
namespace {

struct KindAndMatter {
    std::int32_t auftragArtNr;
    std::int32_t angelegenheitNr;
};

KindAndMatter parseCondition(const QString& condition) {
    static const QRegularExpression form(
        QStringLiteral("\\AplAuftragArtNr = ([0-9]{1,9}) AND plAngelegenheitNr = ([0-9]{1,9})"
                       " AND plAbrechnungsArt <> 9\\z"));
    const QRegularExpressionMatch match = form.match(condition);
    if (!match.hasMatch()) {
        throw OrvError(err::kInvalidCall, QStringLiteral("OrderLookup"),
                       QStringLiteral("Die Suchbedingung für Aufträge wird nicht unterstützt: "
                                      "\"%1\". Erwartet werden Auftragsart-Nr. und "
                                      "Angelegenheits-Nr.")
                           .arg(condition));
    }
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

}  // namespace

OfficeOrderLookup::OfficeOrderLookup(db::Database& database) : database_(database) {}

bool OfficeOrderLookup::Init() {
    clearResult();
    return true;
}

// The latest invoice is flRechnung; an order whose invoice rows exist without it counts as
// invoiced by its latest row, as the office's order counts its invoices.
void OfficeOrderLookup::Search(const QString& condition, bool /*all*/) {
    clearResult();
    const KindAndMatter key = parseCondition(condition);
    db::DbService service(database_);
    service.Open();
    if (service.OpenQuery(
            QStringLiteral(
                "SELECT a.idAuftrag, COUNT(*) OVER () AS Anzahl,"
                " COALESCE(NULLIF(a.flRechnung, 0),"
                " (SELECT MAX(r.idRechnung) FROM tRechnung r WHERE r.flAuftrag = a.idAuftrag),"
                " 0) AS Verweis"
                " FROM tAuftrag a"
                " WHERE a.flMandant = $1 AND a.dlAuftragArtNr = $2 AND a.dlAngelegenheitNr = $3"
                " AND a.dlJahr = $4 AND a.diMonat = $5"
                " AND ($6 = 0 OR a.diLfdNr = $6) AND ($7 = 0 OR a.dlObjektNr = $7)"
                " AND a.dlAbrechnungsArt <> 9"
                " ORDER BY a.idAuftrag LIMIT 1"),
            db::Params{std::int64_t{mandantId_}, std::int64_t{key.auftragArtNr},
                       std::int64_t{key.angelegenheitNr}, std::int64_t{jahr_}, std::int64_t{monat_},
                       std::int64_t{lfdNr_}, std::int64_t{objektNr_}}) == 0) {
        return;
    }
    anzahl_ = service.FieldLong("Anzahl");
    auftragId_ = service.FieldLong("idAuftrag");
    rechnungsVerweis_ = service.FieldLong("Verweis");
}

void OfficeOrderLookup::clearResult() {
    anzahl_ = 0;
    auftragId_ = 0;
    rechnungsVerweis_ = 0;
}

void OfficeOrderLookup::Close() {
    clearResult();
}

}  // namespace orv::office
