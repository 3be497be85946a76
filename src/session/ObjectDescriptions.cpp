// Kind flags and object descriptions of property-assessment orders.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "persistence/DbService.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OfficeServices.h"
#include "platform/host/PersonObjects.h"
#include "session/ObjectKinds.h"
#include "session/diagnostics/HostCreation.h"
#include "session/diagnostics/Procedure.h"

namespace orv {
namespace {

using Frage = bool (platform::CQeGgwBasis::*)(const QString&);

// Asks the assessment component one question about a matter code; a component that cannot be
// created is explained in the report.
bool frageBewertung(CStoppUhren& session, const char* procedure, Frage frage,
                    const QString& kenner) {
    Procedure p(session.trace(), procedure);
    return p.run([&] {
        platform::PlatformFactory& platform = session.platform();
        std::unique_ptr<platform::CQeGgwBasis> basis = createHostObject(
            p, platform, QStringLiteral("Set oQeGgwBasis = New ORVkQeGgw.CQeGgwBasis"),
            QStringLiteral("ORVkQeGgw.dll"), [&] { return platform.createCQeGgwBasis(); });
        return ((*basis).*frage)(kenner);
    });
}

// The first column of the first row, or the empty text; the row count is not asked.
QString ersterText(CStoppUhren& session, const QString& sql, std::string_view column) {
    db::DbService service(session.platform().officeDatabase());
    service.Open();
    service.OpenQuery(sql, 0, QString());
    const QString text = service.FieldText(column, QString());
    service.CloseQuery();
    service.Close();
    return text;
}

}  // namespace

bool CStoppUhren::fbIsVuV(const QString& kenner) {
    return frageBewertung(*this, "fbIsVuV", &platform::CQeGgwBasis::IsVuV, kenner);
}

bool CStoppUhren::fbIsBewertung(const QString& kenner) {
    return frageBewertung(*this, "fbIsBewertung", &platform::CQeGgwBasis::IsBewertung, kenner);
}

bool CStoppUhren::fbIsSchenkung(const QString& kenner) {
    return frageBewertung(*this, "fbIsSchenkung", &platform::CQeGgwBasis::IsSchenkung, kenner);
}

bool CStoppUhren::fbIsErbschaft(const QString& kenner) {
    return frageBewertung(*this, "fbIsErbschaft", &platform::CQeGgwBasis::IsErbschaft, kenner);
}

bool CStoppUhren::fbIsGrundsteuer(const QString& kenner) {
    return frageBewertung(*this, "fbIsGrundsteuer", &platform::CQeGgwBasis::IsGrundsteuer, kenner);
}

QString CStoppUhren::fsBezeichnungObjektNr(CAuftrag& auftrag, std::int32_t& kenner) {
    Procedure p(trace_, "fsBezeichnungObjektNr");
    return p.run([&] {
        // The code reaches the SQL only as the number the component formatted itself.
        const QString kennerText = QString::number(kenner);
        QString bezeichnung;
        objektartenSetzen(auftrag, objektartenErfragen(*this, kennerText));
        const QString mandant = QString::number(auftrag.MandantId());
        const QString jahr = QString::number(auftrag.Jahr());
        const QString objektNr = QString::number(auftrag.ObjektNr());
        if (auftrag.VuVAuftrag()) {
            bezeichnung = objektText(
                auftrag.ObjektNr(),
                ersterText(*this,
                           QStringLiteral("SELECT dcBezeichnung FROM tGGWObjName INNER JOIN "
                                          "tGgwBetrag ON flGgwBetrag = idGgwBetrag INNER JOIN "
                                          "tGgwBasis ON flGgwBasis = idGgwBasis ") +
                               QStringLiteral("WHERE flManId = ") + mandant +
                               QStringLiteral(" AND dsKenner = '") + kennerText +
                               QStringLiteral("' AND dlJahr = ") + jahr +
                               QStringLiteral(" AND diLfdNr = ") + objektNr,
                           "dcBezeichnung"));
        }
        if (auftrag.IsBewertung() || auftrag.IsSchenkung() || auftrag.IsErbschaft() ||
            auftrag.IsGrundsteuer()) {
            bezeichnung = objektText(
                auftrag.ObjektNr(),
                ersterText(*this,
                           QStringLiteral("SELECT tGG.dsKenner FROM tGGWGrundlage as tGG ") +
                               QStringLiteral("INNER JOIN tGgwBgBetrag ON  tGG.flBgBetrag = "
                                              "idBgBetrag ") +
                               QStringLiteral("INNER JOIN tGgwBetrag ON flGgwBetrag = "
                                              "idGgwBetrag  ") +
                               QStringLiteral("INNER JOIN tGgwBasis ON flGgwBasis = idGgwBasis ") +
                               QStringLiteral("WHERE flManId = ") + mandant +
                               QStringLiteral(" AND tGGWBasis.dsKenner = '") + kennerText +
                               QLatin1Char('\'') + QStringLiteral(" AND dlJahr = ") + jahr +
                               QStringLiteral(" AND diMonat = ") +
                               QString::number(auftrag.Monat()) +
                               QStringLiteral(" AND diLfdNr = ") + objektNr,
                           "dsKenner"));
        }
        auftrag.ObjektBezeichnung(bezeichnung);
        return bezeichnung;
    });
}

}  // namespace orv
