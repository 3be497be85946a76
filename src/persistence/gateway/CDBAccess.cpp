#include "persistence/gateway/CDBAccess.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "model/cLeistung.h"
#include "persistence/Database.h"
#include "persistence/DbProcedure.h"
#include "persistence/DbService.h"
#include "persistence/Dialect.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OfficeServices.h"
#include "platform/host/PersonObjects.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/HostCreation.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <QTime>

namespace orv {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kInsertEndePosition = 7;    // @Ende of the insert procedure
constexpr int kUpdateBeginnPosition = 4;  // @Beginn and @Ende of the update procedure
constexpr int kUpdateEndePosition = 5;
constexpr int kLeistungBeginnPosition = 5;  // @Beginn and @Ende of the service procedure
constexpr int kLeistungEndePosition = 6;
constexpr std::int32_t kLeistungArt = 1;  // a service from the time recording
constexpr std::int32_t kBenachrichtigungArt = 0;
constexpr double kMindestStunden = 0.01;

// Where an option value lives among the office-wide user settings.
struct UserSetting {
    QString subKey;
    std::int32_t key;
    std::int32_t dataType;
};

UserSetting userSettingFor(std::int32_t option) {
    switch (option) {
        case 0:
            return {QStringLiteral("ORV.Brix.Options.KOrg.Verwaltungsanteil"), 1, 3};
        case 1:
            return {QStringLiteral("ORV.Brix.Options.KOrg.Verwaltungsmitarbeiter"), 1, 3};
        case 2:
            return {QStringLiteral("ORV.Common.KOrg.Zeiterfassung"), 3, 3};
        default:
            return {{}, 0, 0};
    }
}

constexpr std::int32_t kOptionFakturierteAuftraege = 3;
constexpr std::int32_t kGlobalValueFakturierteAuftraege = 31;

QString number(std::int32_t value) {
    return QString::number(value);
}

// A service is booked on the calendar day of its begin; without a begin it has no day.
QDateTime dayOf(const QDateTime& time) {
    return time.isValid() ? QDateTime(time.date(), QTime(0, 0)) : QDateTime();
}

}  // namespace

CDBAccess::CDBAccess(platform::PlatformFactory& platform)
    : platform_(platform), trace_(platform, QStringLiteral("CDBAccess")) {}

CDBAccess::~CDBAccess() = default;

CStoppUhren& CDBAccess::owner() const {
    if (owner_ == nullptr) {
        raiseError(
            err::kInvalidCall,
            QStringLiteral("Der Datenbankzugriff ist keiner Stoppuhren-Sitzung zugeordnet."));
    }
    return *owner_;
}

std::int32_t CDBAccess::mitarbeiterId() const {
    return owner().MitarbeiterId();
}

QDateTime CDBAccess::now() const {
    return platform_.clock().now();
}

db::Database& CDBAccess::database() const {
    return platform_.officeDatabase();
}

const db::Dialect& CDBAccess::dialect() const {
    return db::dialectFor(database().backend());
}

std::int32_t CDBAccess::Execute(const QString& sql) {
    db::DbService service(database());
    service.Open();
    const std::int32_t result = service.Execute(sql);
    service.Close();
    return result;
}

bool CDBAccess::ExistiertLoginHeute(QDateTime& lastLogout) {
    Procedure p(trace_, "ExistiertLoginHeute");
    return p.run([&] {
        db::DbService service(database());
        service.Open();
        const QString sql = QString::fromLatin1(dialect().lastLogoutQuery)
                                .arg(mitarbeiterId())
                                .arg(owner().LoginId());
        bool today = false;
        if (service.OpenQuery(sql, 0, QString()) > 0) {
            // A logout that was never written reads as 0, which is no day at all.
            const QDateTime logout = service.FieldDate("LeistungserfassungAbmeldung", QDateTime());
            lastLogout = logout.isValid() ? logout.addSecs(1) : QDateTime();
            today = lastLogout.isValid() && lastLogout.date() == now().date();
        }
        service.CloseQuery();
        service.Close();
        return today;
    });
}

bool CDBAccess::LoginPruefen(const QDateTime& anmeldung, const QDateTime& abmeldung) {
    Procedure p(trace_, "LoginPruefen");
    return p.run([&] {
        db::DbProcedure procedure(database());
        procedure.Prepare(QStringLiteral("S_ORV_Common_Korg_Leistungserfassung_LoginPruefen"), 0);
        procedure.AddLong("@MitarbeiterID", mitarbeiterId());
        procedure.AddDate("@Anmeldung", anmeldung);
        procedure.AddDate("@Abmeldung", abmeldung);
        procedure.AddLong("@Return", 0);
        procedure.Execute(0);
        const bool free = procedure.OutLong("@Return") == 0;
        procedure.Close();
        return free;
    });
}

std::int32_t CDBAccess::LogIn(const QDateTime& anmeldung) {
    Procedure p(trace_, "LogIn");
    return p.run([&] {
        db::DbProcedure procedure(database());
        procedure.Prepare(QStringLiteral("S_ORV_Common_Korg_Leistungserfassung_Anmeldung"), 0);
        procedure.AddLong("@MitarbeiterID", mitarbeiterId());
        procedure.AddDate("@Anmeldung", anmeldung);
        procedure.AddLong("@AnmeldungId", 0);
        procedure.Execute(0);
        const std::int32_t id = procedure.OutLong("@AnmeldungId");
        procedure.Close();
        return id;
    });
}

void CDBAccess::LogOut() {
    Procedure p(trace_, "LogOut");
    p.run([&] {
        db::DbService service(database());
        service.Open();
        const QString text = QLatin1Char('\'') + db::DbService::SqlDate(now()) + QLatin1Char('\'');
        service.Execute(
            QStringLiteral(
                "UPDATE tLeistungZeiterfassungLogins SET LeistungsErfassungAbmeldung = ") +
            text + QStringLiteral(" WHERE Ps_Id = ") + number(mitarbeiterId()) +
            QStringLiteral(" AND LeistungsErfassungAbmeldung IS NULL"));
        service.CloseQuery();
        service.Close();
    });
}

bool CDBAccess::LoginErstellen(const QDateTime& anmeldung, const QDateTime& abmeldung,
                               std::int32_t loginArt) {
    Procedure p(trace_, "LoginErstellen");
    return p.run([&] {
        db::DbProcedure procedure(database());
        procedure.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Leistungserfassung_Login"), 0);
        procedure.AddLong("@MitarbeiterID", mitarbeiterId());
        procedure.AddDate("@Anmeldung", anmeldung);
        procedure.AddDate("@Abmeldung", abmeldung);
        procedure.AddLong("@LoginArt", loginArt);
        procedure.AddLong("@AnmeldungId", 0);
        procedure.Execute(0);
        const bool created = procedure.OutLong("@AnmeldungId") >= 1;
        procedure.Close();
        return created;
    });
}

void CDBAccess::PauseBeginn() {
    Procedure p(trace_, "PauseBeginn");
    p.run(
        [&] { Execute(QString::fromLatin1(dialect().pauseBeginStatement).arg(mitarbeiterId())); });
}

void CDBAccess::PausenEnde() {
    Procedure p(trace_, "PausenEnde");
    p.run([&] { Execute(QString::fromLatin1(dialect().pauseEndStatement).arg(mitarbeiterId())); });
}

bool CDBAccess::Funktionsrecht(std::int32_t recht) {
    Procedure p(trace_, "Funktionsrecht", Procedure::Tracing::Untraced);
    return p.run([&] {
        db::DbService service(database());
        service.Open();
        bool granted = false;
        if (service.OpenQuery(
                QString::fromLatin1(dialect().rightCheckQuery).arg(mitarbeiterId()).arg(recht), 0,
                QString()) > 0) {
            granted = service.FieldBool("x", false);
        }
        service.CloseQuery();
        service.Close();
        return granted;
    });
}

QString CDBAccess::OptionsWertErmitteln(std::int32_t option) {
    Procedure p(trace_, "OptionsWertErmitteln");
    return p.run([&] {
        if (option == kOptionFakturierteAuftraege) {
            if (globaleWerte_ == nullptr) {
                globaleWerte_ = platform_.createGlobaleWerte();
            }
            return globaleWerte_->Wert(kGlobalValueFakturierteAuftraege) ? QStringLiteral("-1")
                                                                         : QStringLiteral("0");
        }
        const UserSetting setting = userSettingFor(option);
        if (setting.subKey.isEmpty()) {
            return QString();
        }
        const QString value;  // the output's placeholder
        p.setExtra(QStringLiteral("Optionswert: ") + setting.subKey + kCrLf +
                   QStringLiteral("@MitarbeiterID = 0") + kCrLf + QStringLiteral("@SubKey = ") +
                   setting.subKey + kCrLf + QStringLiteral("@Key = ") + number(setting.key) +
                   kCrLf + QStringLiteral("@Value = ") + value + kCrLf +
                   QStringLiteral("@DataType = ") + number(setting.dataType));
        db::DbProcedure procedure(database());
        QString result;
        if (procedure.Prepare(QStringLiteral("dbo.S_ORV_VelmarNET_Get_UserSetting"), 0)) {
            procedure.AddLong("@MitarbeiterID", 0);
            procedure.AddText("@SubKey", setting.subKey);
            procedure.AddLong("@Key", setting.key);
            procedure.AddText("@Value", value);
            procedure.AddLong("@DataType", setting.dataType);
            procedure.Execute(0);
            result = procedure.OutText("@Value");
        }
        procedure.Close();
        return result;
    });
}

bool CDBAccess::OptionsWertSchreiben(std::int32_t option, const QString& value) {
    Procedure p(trace_, "OptionsWertSchreiben");
    return p.run([&] {
        // Only the order that receives the idle time is ever written back.
        const UserSetting setting = option == 2 ? userSettingFor(2) : UserSetting{QString(), 0, 0};
        p.setExtra(QStringLiteral("Optionswert: ") + setting.subKey);
        db::DbProcedure procedure(database());
        bool written = false;
        if (procedure.Prepare(QStringLiteral("dbo.S_ORV_VelmarNET_Set_UserSetting"), 0)) {
            procedure.AddLong("@MitarbeiterID", 0);
            procedure.AddText("@SubKey", setting.subKey);
            procedure.AddLong("@Key", setting.key);
            procedure.AddText("@Value", value);
            procedure.AddLong("@DataType", setting.dataType);
            written = procedure.Execute(0) != 0;
        }
        procedure.Close();
        return written;
    });
}

std::int32_t CDBAccess::insertRow(std::int32_t auftragId, const QString& key, std::int32_t parentId,
                                  const QString& parentKey, std::int32_t status,
                                  const QString& text2, std::int32_t sekunden) {
    db::DbProcedure procedure(database());
    std::int32_t id = 0;
    if (procedure.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Zeiterfassung"), 0)) {
        // The end is never known when a row is born.
        db::ParameterValues values = procedure.GetParameterValues();
        values.setNull(kInsertEndePosition);
        procedure.SetParameterValues(std::move(values));
        procedure.AddLong("@AuftragID", auftragId);
        procedure.AddText("@Key", key);
        procedure.AddLong("@ParentID", parentId);
        procedure.AddText("@ParentKey", parentKey);
        procedure.AddLong("@Status", status);
        procedure.AddDate("@Beginn", now());
        procedure.AddText("@Text1", QString());
        procedure.AddText("@Text2", text2);
        procedure.AddLong("@Sekunden", sekunden);
        procedure.AddLong("@MitarbeiterID", mitarbeiterId());
        procedure.AddLong("@BearbeitungsArt", 0);
        procedure.AddLong("@VerwaltungsLeistung", 0);
        procedure.AddLong("@VerwaltungsLeistungHerkunft", 0);
        procedure.AddLong("@Success", 0);
        procedure.Execute(0);
        id = procedure.OutLong("@Success");
    }
    procedure.Close();
    return id;
}

std::int32_t CDBAccess::InsertAuftragZeiterfassung(CAuftrag& auftrag) {
    Procedure p(trace_, "InsertAuftragZeiterfassung");
    return p.run([&] {
        // The key holds the row id, which only the insert tells: a provisional key first, which
        // no one outside the transaction ever sees.
        try {
            db::inOneTransaction(database(), [&] {
                auftrag.Id(insertRow(auftrag.AuftragId(), auftrag.Key(), 0, QString(),
                                     auftrag.Status(), QString(), 0));
                if (auftrag.Id() > 0) {
                    db::DbService service(database());
                    service.Open();
                    service.Execute(
                        QStringLiteral("UPDATE tLeistungZeiterfassung SET VorgangKey ='") +
                        auftrag.Key() + QStringLiteral("' WHERE idLeistungZeiterfassung = ") +
                        number(auftrag.Id()));
                    service.Close();
                }
            });
        } catch (...) {
            auftrag.Id(0);  // the row was rolled back with the failure
            throw;
        }
        return auftrag.Id();
    });
}

void CDBAccess::InsertLeistungZeitErfassung(cLeistung& leistung) {
    Procedure p(trace_, "InsertLeistungZeitErfassung");
    p.run([&] {
        CAuftrag& auftrag = leistung.Auftrag();
        leistung.Id(insertRow(auftrag.AuftragId(), QString(), auftrag.Id(), auftrag.Key(),
                              leistung.Status(), leistung.Notiz(), leistung.Sekunden()));
    });
}

void CDBAccess::updateRow(std::int32_t id, std::int32_t status, std::int32_t auftragId,
                          const QDateTime& beginn, const QDateTime& ende, const QString& text1,
                          const QString& text2, std::int32_t sekunden) {
    db::DbProcedure procedure(database());
    if (procedure.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Update_Zeiterfassung"), 0)) {
        // An unset date clears the column.
        db::ParameterValues values = procedure.GetParameterValues();
        if (!beginn.isValid()) {
            values.setNull(kUpdateBeginnPosition);
        }
        if (!ende.isValid()) {
            values.setNull(kUpdateEndePosition);
        }
        procedure.SetParameterValues(std::move(values));
        procedure.AddLong("@VorgangID", id);
        procedure.AddLong("@Status", status);
        procedure.AddLong("@AuftragID", auftragId);
        if (beginn.isValid()) {
            procedure.AddDate("@Beginn", beginn);
        }
        if (ende.isValid()) {
            procedure.AddDate("@Ende", ende);
        }
        procedure.AddText("@Text1", text1);
        procedure.AddText("@Text2", text2);
        procedure.AddLong("@Sekunden", sekunden);
        procedure.AddLong("@BearbeitungsArt", 0);
        procedure.AddLong("@VerwaltungsLeistung", 0);
        procedure.AddLong("@VerwaltungsLeistungHerkunft", 0);
        procedure.Execute(0);
    }
    procedure.Close();
}

void CDBAccess::UpdateAuftrag(CAuftrag& auftrag) {
    Procedure p(trace_, "UpdateAuftrag");
    p.run([&] {
        updateRow(auftrag.Id(), auftrag.Status(), auftrag.AuftragId(), auftrag.Beginn(),
                  auftrag.Ende(), auftrag.LeistungsTextVorgabe(), QString(), auftrag.Sekunden());
    });
}

void CDBAccess::UpdateLeistung(cLeistung& leistung) {
    Procedure p(trace_, "UpdateLeistung");
    p.run([&] {
        updateRow(leistung.Id(), leistung.Status(), leistung.Auftrag().AuftragId(),
                  leistung.Beginn(), leistung.Ende(), QString(), leistung.Notiz(),
                  leistung.Sekunden());
    });
}

void CDBAccess::LeistungAuftragAendern(cLeistung& leistung) {
    Procedure p(trace_, "LeistungAuftragAendern");
    p.run([&] {
        const CAuftrag& auftrag = leistung.Auftrag();
        Execute(QStringLiteral("UPDATE tLeistungZeiterfassung SET ") +
                QStringLiteral(" VorgangParentId = ") + number(auftrag.Id()) +
                QStringLiteral(", VorgangParentKey ='") + auftrag.Key() + QLatin1Char('\'') +
                QStringLiteral(", idAuftrag = ") + number(auftrag.AuftragId()) +
                QStringLiteral(" WHERE idLeistungZeiterfassung = ") + number(leistung.Id()));
    });
}

void CDBAccess::deleteRow(std::int32_t id) {
    // Bound, so booking a thousand entries prepares the statement once.
    db::DbService service(database());
    service.Open();
    service.Execute(
        QStringLiteral("DELETE from tLeistungZeiterfassung WHERE idleistungzeiterfassung = $1"),
        db::Params{std::int64_t{id}});
    service.Close();
}

void CDBAccess::LeistungLoeschen(cLeistung& leistung) {
    Procedure p(trace_, "LeistungLoeschen");
    p.run([&] {
        deleteRow(leistung.Id());
        leistung.Status(cLeistung::kStatusZeileGeloescht);
    });
}

void CDBAccess::AuftragLoeschen(CAuftrag& auftrag) {
    Procedure p(trace_, "AuftragLoeschen");
    p.run([&] {
        deleteRow(auftrag.Id());
        auftrag.Status(AuftragStatus_Geloescht);
    });
}

void CDBAccess::ZeiterfassungAbschliessen() {
    Procedure p(trace_, "ZeiterfassungAbschliessen");
    p.run([&] {
        Execute(QStringLiteral("DELETE FROM tLeistungZeiterfassung WHERE ps_id = ") +
                number(mitarbeiterId()));
    });
}

bool CDBAccess::AuftragIstVorhanden(std::int32_t idAuftrag) {
    Procedure p(trace_, "AuftragIstVorhanden");
    return p.run([&] {
        db::DbService service(database());
        service.Open();
        const bool found =
            service.OpenQuery(QStringLiteral("SELECT * FROM tAuftrag") +
                                  QStringLiteral(" WHERE idAuftrag = ") + number(idAuftrag),
                              0, QString()) > 0;
        service.CloseQuery();
        service.Close();
        return found;
    });
}

std::int32_t CDBAccess::InsertLeistung(cLeistung& entry) {
    Procedure p(trace_, "InsertLeistung");
    return p.run([&] {
        // The services, their texts and the notice are one booking: a failure leaves none of
        // them, and the entry can be booked again, once.
        return RestorePoint(owner()).keep(entry).run([&] { return insertLeistung(entry, p); });
    });
}

std::int32_t CDBAccess::insertLeistung(cLeistung& entry, Procedure& p) {
    std::unique_ptr<platform::CQeLeistung> qeLeistung = createHostObject(
        p, platform_, QStringLiteral("Set oQeLeistung = New ORVkQeLeistung.CQeLeistung"),
        QStringLiteral("ORVkQeLeistung.dll"), [&] { return platform_.createCQeLeistung(); });

    CStoppUhren& session = owner();
    const std::int32_t auftragId = entry.Auftrag().AuftragId();
    const QDateTime datum = dayOf(entry.Beginn());

    db::DbProcedure procedure(database());
    procedure.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Leistung"), 0);
    // Unset times reach the office as NULL; the administrative share keeps them too.
    db::ParameterValues values = procedure.GetParameterValues();
    if (!entry.Beginn().isValid()) {
        values.setNull(kLeistungBeginnPosition);
    }
    if (!entry.Ende().isValid()) {
        values.setNull(kLeistungEndePosition);
    }
    procedure.SetParameterValues(std::move(values));
    procedure.ResetParameters();
    procedure.AddLong("@MitarbeiterID", session.MitarbeiterId());
    procedure.AddLong("@AuftragID", auftragId);
    procedure.AddDate("@Datum", datum);
    procedure.AddCurrency("@Anzahl",
                          db::Currency::fromDouble(rt::industrialHours(entry.Sekunden())));
    if (entry.Beginn().isValid()) {
        procedure.AddDate("@Beginn", entry.Beginn());
    }
    if (entry.Ende().isValid()) {
        procedure.AddDate("@Ende", entry.Ende());
    }
    procedure.AddText("@Notiz", entry.Notiz());
    procedure.AddLong("@Art", kLeistungArt);
    procedure.AddLong("@Success", 0);

    const db::Currency figureBefore = qeLeistung->Kennzahl(auftragId);
    procedure.Execute(0);
    const std::int32_t serviceId = procedure.OutLong("@Success");
    const db::Currency figureAfter = qeLeistung->Kennzahl(auftragId);

    // The administrative share goes to the office's administrative employee; begin and end
    // stay those of the entry.
    std::int32_t adminServiceId = 0;
    const double adminHours = entry.VerwaltungsZeit() / 3600.0;
    if (serviceId > 0 && session.VerwaltungsanteilAktiv() && adminHours >= kMindestStunden) {
        procedure.AddLong("@MitarbeiterID", session.Verwaltungsmitarbeiter());
        procedure.AddLong("@AuftragID", auftragId);
        procedure.AddDate("@Datum", datum);
        procedure.AddCurrency("@Anzahl", db::Currency::fromDouble(adminHours));
        procedure.AddText("@Notiz", entry.Notiz());
        procedure.AddLong("@Art", kLeistungArt);
        procedure.AddLong("@Success", 0);
        procedure.Execute(0);
        adminServiceId = procedure.OutLong("@Success");
    }
    procedure.Close();

    if (serviceId > 0) {
        procedure.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Leistungtext"), 0);
        const bool hasTexts = !entry.Texte().empty();
        for (const std::shared_ptr<CText>& line : entry.Texte()) {
            procedure.AddLong("@LeistungId", serviceId);
            procedure.AddText("@Text", line->Text());
            procedure.AddLong("@Success", 0);
            procedure.Execute(0);
            line->TextId(procedure.OutLong("@Success"));
        }
        // The administrative service is named after the entry's first line; an entry
        // without lines leaves it without text.
        if (hasTexts && adminServiceId > 0) {
            procedure.AddLong("@LeistungId", adminServiceId);
            procedure.AddText("@Text", entry.VerwaltungsText());
            procedure.AddLong("@Success", 0);
            procedure.Execute(0);
        }
        procedure.Close();
    }

    // The office wants to know only when an order begins or ceases to have open services.
    const bool becameOpenOrSettled =
        figureBefore != figureAfter &&
        (figureBefore.tenThousandths == 0 || figureAfter.tenThousandths == 0);
    if (becameOpenOrSettled) {
        if (benachrichtigung_ == nullptr) {
            benachrichtigung_ = platform_.createAuftragBenachrichtigung();
        }
        benachrichtigung_->setMitarbeiter(session.MitarbeiterId());
        benachrichtigung_->Auftrag(auftragId, kBenachrichtigungArt);
    }
    return serviceId;
}

}  // namespace orv
