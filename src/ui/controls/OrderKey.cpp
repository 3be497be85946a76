#include "ui/controls/OrderKey.h"

#include "persistence/DbService.h"
#include "persistence/QueryRows.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OrderObjects.h"
#include "session/diagnostics/OrvError.h"

#include <QDate>

#include <algorithm>

namespace orv::ui {
namespace {

// Runs the end of a host object's use however its use ends.
template <typename End>
class AmEnde {
public:
    explicit AmEnde(End end) : end_(std::move(end)) {}
    ~AmEnde() {
        try {
            end_();
        } catch (...) {  // NOLINT(bugprone-empty-catch): the error of the use is the one to report
        }
    }
    AmEnde(const AmEnde&) = delete;
    AmEnde& operator=(const AmEnde&) = delete;

private:
    End end_;
};

// The reference date mode of the matter information: the matter as it stands today.
constexpr std::int32_t kMatterModus = 2;

}  // namespace

std::int32_t feldZahl(const QString& text) {
    if (text.isEmpty()) {
        return 0;
    }
    // Nine digits always fit into 32 bits; the fields hold at most five.
    if (text.size() > 9 || !std::all_of(text.begin(), text.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        })) {
        return -1;
    }
    return text.toInt();
}

MatterFacts matterFacts(platform::PlatformFactory& platform, std::int32_t angelegenheitId) {
    std::unique_ptr<platform::MatterInfo> info = platform.createMatterInfo();
    AmEnde close([&] { info->Close(); });
    info->setAngelegenheitId(angelegenheitId);
    info->setModus(kMatterModus);
    info->setStichtag(QDate::currentDate());
    bool gefunden = true;
    info->Read(gefunden);
    return {info->MehrfachAnlage(), info->Kenner()};
}

GefundenerAuftrag findOrder(platform::PlatformFactory& platform, const AuftragSchluessel& key) {
    std::unique_ptr<platform::OrderLookup> lookup = platform.createOrderLookup();
    AmEnde close([&] { lookup->Close(); });
    lookup->Init();
    lookup->setJahr(key.jahr);
    lookup->setMonat(key.monat);
    lookup->setMandantId(key.mandantId);
    lookup->setLfdNr(key.lfdNr);
    lookup->setObjektNr(key.objektNr);
    // Only numbers the control holds are joined in; the office accepts nothing else.
    lookup->Search(QStringLiteral("plAuftragArtNr = ") + QString::number(key.auftragArtNr) +
                       QStringLiteral(" AND plAngelegenheitNr = ") +
                       QString::number(key.angelegenheitNr) +
                       QStringLiteral(" AND plAbrechnungsArt <> 9"),
                   true);
    if (lookup->Read() < 1) {
        return {};
    }
    return {lookup->AuftragId(), lookup->RechnungsVerweis() > 0};
}

std::int32_t createOrder(platform::PlatformFactory& platform, const AuftragSchluessel& key,
                         std::int32_t fensterHandle) {
    std::unique_ptr<platform::OrderService> service = platform.createOrderService();
    std::int32_t aktion = platform::OrderService::kAktionAnlegen;
    service->Begin(aktion);
    AmEnde end([&] { service->End(); });
    const std::int32_t oberGrenze = service->ParameterUBound(aktion);
    constexpr std::int32_t kGebraucht = 12;
    if (oberGrenze < kGebraucht) {
        throw OrvError(5, QStringLiteral("OrderService"),
                       QStringLiteral("Die Auftragsanlage erwartet zu wenige Angaben."));
    }
    std::vector<std::int32_t> parameter(static_cast<std::size_t>(oberGrenze) + 1, 0);
    parameter[0] = fensterHandle;
    parameter[1] = key.mandantId;
    parameter[8] = key.angelegenheitId;
    parameter[6] = key.monat;
    parameter[5] = key.jahr;
    parameter[7] = key.lfdNr;
    parameter[12] = key.objektNr;
    std::int32_t ergebnis = 0;
    service->Execute(parameter, ergebnis);
    return ergebnis == platform::OrderService::kErledigt ? parameter[3] : 0;
}

std::vector<QString> runningNumbers(db::Database& database, const AuftragSchluessel& key) {
    QString sql = QStringLiteral(
        "SELECT idAuftrag,diLfdNr,dcAngelegenheitErweitert FROM tAuftrag"
        " WHERE flMandant = $1 AND dlAuftragArtNr = $2 AND dlAngelegenheitNr = $3"
        " AND diMonat = $4 AND dlJahr = $5 AND dlAbrechnungsArt <> 9");
    // The object number is a criterion when one is given: "AND ($6 = 0 OR dlObjektNr = $6)".
    sql += QStringLiteral(" AND ($6 = 0 OR dlObjektNr = $6)");
    const db::Params params{std::int64_t{key.mandantId},
                            std::int64_t{key.auftragArtNr},
                            std::int64_t{key.angelegenheitNr},
                            std::int64_t{key.monat},
                            std::int64_t{key.jahr},
                            std::int64_t{std::max(key.objektNr, 0)}};
    sql += QStringLiteral(" ORDER BY diLfdNr, idAuftrag");
    return db::queryRows(database, sql, params, [](db::DbService& row) {
        return QString::number(row.FieldLong("diLfdNr")) + QStringLiteral(" - ") +
               row.FieldText("dcAngelegenheitErweitert");
    });
}

}  // namespace orv::ui
