#pragma once

#include "session/diagnostics/ObjectTrace.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>

namespace orv::platform {
class AuftragBenachrichtigung;
class GlobaleWerte;
class PlatformFactory;
}  // namespace orv::platform

namespace orv::db {
class Database;
struct Dialect;
}  // namespace orv::db

namespace orv {

class CAuftrag;
class CStoppUhren;
class Procedure;
class cLeistung;

// The session's one way into the office database: logins, pauses, rights, option values and
// the rows of orders and entries. Every call opens its own service object and closes it again;
// the gateway keeps no database state between calls. Failures go on to the caller with the
// operation's place added.
class CDBAccess {
public:
    explicit CDBAccess(platform::PlatformFactory& platform);
    ~CDBAccess();
    CDBAccess(const CDBAccess&) = delete;
    CDBAccess& operator=(const CDBAccess&) = delete;

    // The session whose employee and login the statements name; set once, right after creation.
    void StoppUhren(CStoppUhren& owner) { owner_ = &owner; }

    // Logins and pauses.
    bool ExistiertLoginHeute(QDateTime& lastLogout);
    bool LoginPruefen(const QDateTime& anmeldung, const QDateTime& abmeldung);
    std::int32_t LogIn(const QDateTime& anmeldung);
    void LogOut();
    bool LoginErstellen(const QDateTime& anmeldung, const QDateTime& abmeldung,
                        std::int32_t loginArt);
    void PauseBeginn();
    void PausenEnde();

    // Runs one statement the component composed from its own numbers and keys; returns the
    // number of rows it changed. No trace and no handler: a failure belongs to the caller.
    std::int32_t Execute(const QString& sql);

    // Rights and options.
    bool Funktionsrecht(std::int32_t recht);
    QString OptionsWertErmitteln(std::int32_t option);
    bool OptionsWertSchreiben(std::int32_t option, const QString& value);

    // Rows of orders and entries.
    std::int32_t InsertAuftragZeiterfassung(CAuftrag& auftrag);
    void InsertLeistungZeitErfassung(cLeistung& leistung);
    void UpdateAuftrag(CAuftrag& auftrag);
    void UpdateLeistung(cLeistung& leistung);
    void LeistungAuftragAendern(cLeistung& leistung);
    void LeistungLoeschen(cLeistung& leistung);
    void AuftragLoeschen(CAuftrag& auftrag);
    void ZeiterfassungAbschliessen();
    bool AuftragIstVorhanden(std::int32_t idAuftrag);

    // Books the entry as a service of the session's employee, with its text lines as service
    // texts, and the administrative share as a second service when the office keeps one. Tells
    // the office when the order begins or ceases to have open services. Returns the service's
    // id, 0 when the office refused it (no texts then). A failure writes nothing.
    std::int32_t InsertLeistung(cLeistung& entry);

private:
    CStoppUhren& owner() const;
    std::int32_t mitarbeiterId() const;
    QDateTime now() const;
    db::Database& database() const;
    const db::Dialect& dialect() const;
    void updateRow(std::int32_t id, std::int32_t status, std::int32_t auftragId,
                   const QDateTime& beginn, const QDateTime& ende, const QString& text1,
                   const QString& text2, std::int32_t sekunden);
    void deleteRow(std::int32_t id);
    std::int32_t insertLeistung(cLeistung& entry, Procedure& p);
    std::int32_t insertRow(std::int32_t auftragId, const QString& key, std::int32_t parentId,
                           const QString& parentKey, std::int32_t status, const QString& text2,
                           std::int32_t sekunden);

    platform::PlatformFactory& platform_;
    ObjectTrace trace_;
    CStoppUhren* owner_ = nullptr;
    std::unique_ptr<platform::GlobaleWerte> globaleWerte_;  // created on first use
    // Created on the first notification, kept for the rest of the session.
    std::unique_ptr<platform::AuftragBenachrichtigung> benachrichtigung_;
};

}  // namespace orv
