#include "office/host/OfficeOrderService.h"

#include "persistence/DbService.h"
#include "persistence/OneTransaction.h"
#include "session/diagnostics/OrvError.h"

namespace orv::office {
namespace {

struct OrderKey {
    std::int32_t mandantId;
    std::int32_t angelegenheitId;
    std::int32_t jahr;
    std::int32_t monat;
    std::int32_t lfdNr;
    std::int32_t objektNr;
};

[[noreturn]] void refuse(const QString& reason) {
    throw OrvError(err::kInvalidCall, QStringLiteral("OrderService"),
                   QStringLiteral("Der Auftrag kann nicht angelegt werden: %1").arg(reason));
}

// The values the employee could not have meant; the database is asked about the rest.
OrderKey checkedKey(const std::vector<std::int32_t>& p) {
    if (p.size() <= OfficeOrderService::kObjektNr) {
        refuse(QStringLiteral("Die Parameterliste ist unvollständig."));
    }
    const OrderKey key{
        p[OfficeOrderService::kMandant],
        p[OfficeOrderService::kAngelegenheit],
        p[OfficeOrderService::kJahr],
        p[OfficeOrderService::kMonat],
        p[OfficeOrderService::kLfdNr] == 0 ? 1 : p[OfficeOrderService::kLfdNr],
        p[OfficeOrderService::kObjektNr] == 0 ? 1 : p[OfficeOrderService::kObjektNr]};
    if (key.mandantId < 1) {
        refuse(QStringLiteral("Es ist kein Mandant gewählt."));
    }
    if (key.angelegenheitId < 1) {
        refuse(QStringLiteral("Es ist keine Angelegenheit gewählt."));
    }
    if (key.jahr < 1 || key.jahr > 9999) {
        refuse(QStringLiteral("Das Jahr %1 ist ungültig.").arg(key.jahr));
    }
    if (key.monat < 1 || key.monat > 12) {
        refuse(QStringLiteral("Der Monat %1 ist ungültig (1 bis 12).").arg(key.monat));
    }
    if (key.lfdNr < 1 || key.lfdNr > 99) {
        refuse(QStringLiteral("Die Lfd-Nr %1 ist ungültig (1 bis 99).").arg(key.lfdNr));
    }
    if (key.objektNr < 1 || key.objektNr > 99999) {
        refuse(QStringLiteral("Die Objekt-Nr %1 ist ungültig (1 bis 99999).").arg(key.objektNr));
    }
    return key;
}

// On PostgreSQL the client's row is locked, so that two workstations creating the same order
// wait for each other and the second finds the first one's order; SQLite's write transaction
// already holds the whole database.
void requireClient(db::Database& database, db::DbService& service, std::int32_t mandantId) {
    const bool locking = database.backend() == db::Backend::Postgres;
    if (service.OpenQuery(QStringLiteral("SELECT Ps_IstKanzlei FROM tPersonStamm"
                                         " WHERE Ps_Id = $1") +
                              (locking ? QStringLiteral(" FOR UPDATE") : QString()),
                          db::Params{std::int64_t{mandantId}}) == 0) {
        refuse(QStringLiteral("Der Mandant mit der Id %1 ist nicht vorhanden.").arg(mandantId));
    }
    if (service.FieldLong("Ps_IstKanzlei") != 0) {
        refuse(QStringLiteral("Die Person mit der Id %1 ist eine Kanzlei, kein Mandant.")
                   .arg(mandantId));
    }
    service.CloseQuery();
}

// A stored running or object number of 0 means 1, as the key compares it.
std::int32_t existingOrder(db::DbService& service, const OrderKey& key) {
    if (service.OpenQuery(
            QStringLiteral(
                "SELECT idAuftrag, dlAbrechnungsArt FROM tAuftrag"
                " WHERE flMandant = $1 AND flAngelegenheit = $2 AND dlJahr = $3 AND diMonat = $4"
                " AND (diLfdNr = $5 OR ($5 = 1 AND diLfdNr = 0))"
                " AND (dlObjektNr = $6 OR ($6 = 1 AND dlObjektNr = 0))"
                " ORDER BY CASE WHEN dlAbrechnungsArt = 9 THEN 1 ELSE 0 END, idAuftrag"
                " LIMIT 1"),
            db::Params{std::int64_t{key.mandantId}, std::int64_t{key.angelegenheitId},
                       std::int64_t{key.jahr}, std::int64_t{key.monat}, std::int64_t{key.lfdNr},
                       std::int64_t{key.objektNr}}) == 0) {
        return 0;
    }
    // An order of billing kind 9 is never offered for time recording; a second order with its
    // key would be a duplicate, so neither is answered.
    if (service.FieldLong("dlAbrechnungsArt") == 9) {
        refuse(
            QStringLiteral("Ein Auftrag mit diesem Schlüssel existiert bereits und ist von "
                           "der Zeiterfassung ausgenommen (Abrechnungsart 9)."));
    }
    const std::int32_t id = service.FieldLong("idAuftrag");
    service.CloseQuery();
    return id;
}

std::int32_t createOrder(db::Database& database, const OrderKey& key) {
    return db::inOneTransactionRetrying(
        database,
        [&] {
            db::DbService service(database);
            service.Open();
            requireClient(database, service, key.mandantId);
            if (service.OpenQuery(QStringLiteral("SELECT a.flAuftragArt, art.dlAuftragArtNr,"
                                                 " a.dlAngelegenheitNr FROM tAngelegenheit a"
                                                 " INNER JOIN tAuftragArt art"
                                                 " ON art.idAuftragArt = a.flAuftragArt"
                                                 " WHERE a.idAngelegenheit = $1"),
                                  db::Params{std::int64_t{key.angelegenheitId}}) == 0) {
                refuse(QStringLiteral("Die Angelegenheit mit der Id %1 ist nicht vorhanden.")
                           .arg(key.angelegenheitId));
            }
            const db::Params kind{std::int64_t{service.FieldLong("flAuftragArt")},
                                  std::int64_t{service.FieldLong("dlAuftragArtNr")},
                                  std::int64_t{service.FieldLong("dlAngelegenheitNr")}};
            service.CloseQuery();
            if (const std::int32_t existing = existingOrder(service, key); existing > 0) {
                return existing;
            }
            service.OpenQuery(
                QStringLiteral("INSERT INTO tAuftrag (flMandant, flAuftragArt, dlAuftragArtNr,"
                               " flAngelegenheit, dlAngelegenheitNr, dlJahr, diMonat, diLfdNr,"
                               " dlObjektNr) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9)"
                               " RETURNING idAuftrag"),
                db::Params{std::int64_t{key.mandantId}, kind[0], kind[1],
                           std::int64_t{key.angelegenheitId}, kind[2], std::int64_t{key.jahr},
                           std::int64_t{key.monat}, std::int64_t{key.lfdNr},
                           std::int64_t{key.objektNr}});
            const std::int32_t id = service.FieldLong("idAuftrag");
            service.CloseQuery();
            return id;
        },
        [] {});
}

}  // namespace

OfficeOrderService::OfficeOrderService(db::Database& database) : database_(database) {}

std::int32_t OfficeOrderService::ParameterUBound(std::int32_t& /*actionCode*/) {
    return kUpperBound;
}

void OfficeOrderService::Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) {
    result = 0;
    if (aktion_ != kAktionAnlegen) {
        return;
    }
    const OrderKey key = checkedKey(parameters);
    const std::int32_t id = createOrder(database_, key);
    if (id > 0) {
        parameters[kNeuerAuftrag] = id;
        result = kErledigt;
    }
}

}  // namespace orv::office
