#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "model/cLeistung.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "platform/Windows.h"
#include "platform/host/OfficeServices.h"
#include "platform/host/PersonObjects.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/HostCreation.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

namespace orv {
namespace {

// Option values, by their index in the office's settings.
constexpr std::int32_t kOptionVerwaltungsanteil = 0;
constexpr std::int32_t kOptionVerwaltungsmitarbeiter = 1;
constexpr std::int32_t kOptionLeerlaufAuftrag = 2;
constexpr std::int32_t kOptionFakturierteAuftraege = 3;

// The edit window shows the idle entry for the day closing.
constexpr std::int32_t kModusTagesabschluss = 2;

// Rights of the employee.
constexpr std::int32_t kRechtLeistungAendern = 38;
constexpr std::int32_t kRechtAuftragBrowser = 28;
constexpr std::int32_t kRechtLeistungenSummieren = 34;

}  // namespace

_CStoppUhren::~_CStoppUhren() = default;

CStoppUhren::CStoppUhren(platform::PlatformFactory& platform)
    : platform_(platform), trace_(platform, QStringLiteral("CStoppUhren")) {}

CStoppUhren::~CStoppUhren() = default;

void CStoppUhren::Anzeigen() {
    // The host shows the stopwatches again: a window the employee put away comes back. Before
    // the start and after the end there is nothing to show.
    if (gestartet_) {
        Procedure(trace_, "Anzeigen").report([&] { StoppUhrenAnzeigen(); });
    }
}

void CStoppUhren::Ausblenden() {}

bool CStoppUhren::Starten(std::int32_t& lMitarbeiter) {
    // A session that runs keeps its employee and everything else. One whose start failed is
    // started again from the database: the loader begins afresh, the timer and the login of
    // the failed attempt are not made twice.
    if (!gestartet_) {
        mitarbeiterId_ = lMitarbeiter;
    }
    Procedure p(trace_, "Starten");
    p.setEndText(QStringLiteral("Ende Begin Starten"));
    return p.report(
        [&] {
            if (gestartet_) {
                raiseError(err::kInvalidCall,
                           QStringLiteral("Die Stoppuhren laufen bereits. Sie werden erst nach "
                                          "dem Beenden wieder gestartet."));
            }
            dbAccess_ = std::make_unique<CDBAccess>(platform_);
            dbAccess_->StoppUhren(*this);
            OptionenLesen();
            RechteLesen();
            AuftraegeLeistungenLaden();
            LoginHeutePruefen();
            StoppUhrenAnzeigen();
            bool ersterStart = timer_ == nullptr;
            TimerStarten(ersterStart);
            gestartet_ = true;
            return true;
        },
        false);
}

void CStoppUhren::OptionenLesen() {
    CDBAccess& db = DbAccess();
    // Written by other programs as plain numbers: only the leading number counts.
    verwaltungsmitarbeiter_ =
        rt::roundToLong(rt::leadingNumber(db.OptionsWertErmitteln(kOptionVerwaltungsmitarbeiter)));
    verwaltungsanteil_ = getDouble(db.OptionsWertErmitteln(kOptionVerwaltungsanteil));
    leerlaufBuchungsAuftrag_ =
        rt::roundToLong(getDouble(db.OptionsWertErmitteln(kOptionLeerlaufAuftrag)));
    leistungenAufFakturierte_ =
        db.OptionsWertErmitteln(kOptionFakturierteAuftraege) != QLatin1String("0");
}

void CStoppUhren::RechteLesen() {
    CDBAccess& db = DbAccess();
    rechtLeistungAendern_ = db.Funktionsrecht(kRechtLeistungAendern);
    rechtAuftragBrowser_ = db.Funktionsrecht(kRechtAuftragBrowser);
    rechtLeistungenSummieren_ = db.Funktionsrecht(kRechtLeistungenSummieren);
}

double CStoppUhren::getDouble(const QString& value) const {
    Procedure p(trace_, "getDouble");
    return p.run([&] { return rt::toDouble(value); });
}

void CStoppUhren::LoginHeutePruefen() {
    Procedure p(trace_, "LoginHeuetPruefen");
    p.run([&] {
        // After a session that ended without Beenden the last logout found is a pause's or an
        // older one: the time since then is partly counted already, partly unknown. Offering it
        // as idle time would count seconds twice; the open login is closed instead, together
        // with the new login: a start that fails before it leaves the open login for the next.
        anmeldungenSchliessen_ = offeneAnmeldungenSchliessen();
        if (anmeldungenSchliessen_) {
            return;
        }
        QDateTime letzteAbmeldung;
        if (!DbAccess().ExistiertLoginHeute(letzteAbmeldung)) {
            return;
        }
        const platform::MsgAnswer answer = platform_.messageBoxes().show(
            QStringLiteral("Sie haben sich heute bereits abgemeldet.\n"
                           "Soll die Differenzzeit zwischen der vorherigen Abmeldung und der "
                           "aktuellen Anmeldung zur Leerlaufzeit hinzugefügt werden?"),
            platform::MsgButtons::YesNo, platform::MsgIcon::Question,
            QStringLiteral("Stoppuhren starten"), true);
        if (answer != platform::MsgAnswer::Yes) {
            return;
        }
        const QDateTime ende = platform_.clock().now().addSecs(-1);
        const std::int64_t differenz = rt::secondsBetween(letzteAbmeldung, ende);
        // Within two seconds of the logout there is no gap to record.
        if (differenz <= 0) {
            return;
        }
        // The recorded login and the idle time it adds go together.
        RestorePoint(*this).keep(LeerlaufAuftrag()).run([&] {
            DbAccess().LoginErstellen(letzteAbmeldung, ende, 0);
            ZusatzZeitLeerlauf(rt::toLong(differenz));
        });
    });
}

void CStoppUhren::ZusatzZeitLeerlauf(std::int32_t seconds) {
    Procedure p(trace_, "ZusatzZeitLeerlauf");
    p.run([&] {
        CAuftrag& leerlauf = LeerlaufAuftrag();
        RestorePoint(*this).keep(leerlauf).run([&] {
            leerlauf.Sekunden(rt::addLong(leerlauf.Sekunden(), seconds));
            const std::shared_ptr<cLeistung> leistung = leerlauf.Leistung(QStringLiteral("1"));
            leistung->Sekunden(rt::addLong(leistung->Sekunden(), seconds));
            trace_.trace(QStringLiteral("ZusatzZeitLeerlauf: moLeerlauf.Speichern"));
            leerlauf.Speichern();
            trace_.trace(
                QStringLiteral("ZusatzZeitLeerlauf: moLeerlauf.Leistung(1).Speichern False"));
            leistung->Speichern(false);
        });
    });
}

CDBAccess& CStoppUhren::DbAccess() const {
    if (dbAccess_ == nullptr) {
        raiseObjectNotSet(QStringLiteral("DbAccess"));
    }
    return *dbAccess_;
}

std::shared_ptr<CAuftrag> CStoppUhren::Auftrag(const QString& key) const {
    return auftraege_.item(key);
}

CAuftrag& CStoppUhren::LeerlaufAuftrag() const {
    if (leerlauf_ == nullptr) {
        raiseObjectNotSet(QStringLiteral("Leerlauf"));
    }
    return *leerlauf_;
}

std::shared_ptr<CAuftrag> CStoppUhren::AuftragZuAuftragId(std::int32_t auftragId) const {
    for (const std::shared_ptr<CAuftrag>& auftrag : auftraege_) {
        if (auftrag->AuftragId() == auftragId) {
            return auftrag;
        }
    }
    return nullptr;
}

QString CStoppUhren::SekundenZeit(std::int32_t seconds) const {
    Procedure p(trace_, "SekundenZeit");
    return p.run([&] { return rt::durationText(seconds); });
}

bool CStoppUhren::Beenden() {
    Procedure p(trace_, "Beenden");
    return p.report(
        [&] {
            // Before a complete load there is nothing to end. A session whose clock never
            // started (its Starten failed at the last step) is ended like any other.
            if (!geladen_) {
                return false;
            }
            if (!tagAbgeschlossen_) {
                platform::MsgAnswer antwort = platform::MsgAnswer::Yes;
                bool unbeendet = false;
                for (const std::shared_ptr<CAuftrag>& auftrag : auftraege_) {
                    if (!auftrag->LeistungenBeendet()) {
                        unbeendet = true;
                        break;
                    }
                }
                if (unbeendet) {
                    FensterNachVorn(StoppUhrFenster());
                    antwort = platform_.messageBoxes().show(
                        QStringLiteral("Es sind noch nicht beendete Aufträge vorhanden.\n"
                                       "Möchten Sie den Tagesabschluss später vornehmen?"),
                        platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                        QStringLiteral("Stoppuhren beenden"));
                }
                if (antwort != platform::MsgAnswer::Yes) {
                    return false;
                }
                std::int32_t ergebnis = BearbeitungStati_Geaendert;
                if (timer_ != nullptr) {
                    timer_->stop();
                }
                CAuftrag& laufend = laufenderAuftrag();
                const bool auftragLief = auftragLaeuft_;
                try {
                    laufend.Anhalten(true, false);
                    if (!unbeendet) {
                        ergebnis = Tagesabschluss();
                    }
                } catch (...) {
                    // The day goes on as before: the stopwatch that ran counts on from now.
                    auftragLaeuft_ = auftragLief;
                    if (timer_ != nullptr) {
                        uhrLaeuftWeiter(false);
                    }
                    throw;
                }
                if (ergebnis != BearbeitungStati_Geaendert) {
                    // The day goes on; the stopped stopwatch stays stopped and the idle
                    // stopwatch counts from the stop, as after any stop.
                    if (timer_ != nullptr) {
                        timer_->start();
                    }
                    return false;
                }
                tagAbgeschlossen_ = true;
            }
            // The stopwatches are stopped and the day is closed. What is left can fail on its
            // own (the window, the database): each part is done once, and a repeated Beenden
            // does the rest.
            if (timer_ != nullptr) {
                timerNotify_ = nullptr;
                timer_->finish();
                timer_.reset();
            }
            if (frmStoppUhr_ != nullptr) {
                frmStoppUhr_->Schliessen();
                frmStoppUhr_.reset();
            }
            abmelden();
            geladen_ = false;
            gestartet_ = false;
            tagAbgeschlossen_ = false;
            return true;
        },
        false);
}

std::int32_t CStoppUhren::Tagesabschluss() {
    CAuftrag& leerlauf = LeerlaufAuftrag();
    const std::int32_t bisher = leerlaufBuchungsAuftrag_;
    std::int32_t ergebnis = BearbeitungStati_Abbruch;
    const std::shared_ptr<cLeistung> leistung = leerlauf.Leistung(QStringLiteral("1"));
    {
        std::unique_ptr<platform::FrmLeistung> fenster = platform_.createFrmLeistung();
        leerlauf.AuftragAendern(leerlaufBuchungsAuftrag_);
        fenster->setModus(kModusTagesabschluss);
        leistung->StandardTextSetzen(rt::left(leerlauf.Angelegenheit(), 50) +
                                     QStringLiteral(" (unproduktiv)"));
        std::int32_t sekunden = 0;
        ergebnis = fenster->LeistungAnzeigen(*leistung, sekunden, leerlaufBuchungsAuftrag_, true);
    }
    if (ergebnis != BearbeitungStati_Geaendert) {
        return ergebnis;
    }
    if (leerlaufBuchungsAuftrag_ != bisher && leerlaufBuchungsAuftrag_ != 0) {
        DbAccess().OptionsWertSchreiben(kOptionLeerlaufAuftrag,
                                        QString::number(leerlaufBuchungsAuftrag_));
    }
    if (leerlaufBuchungsAuftrag_ != 0) {
        CDBAccess& db = DbAccess();
        // Booked and closed in one step: the idle time is never booked while its rows remain.
        RestorePoint(*this).keep(leerlauf).keep(*leistung).run([&] {
            leerlauf.AuftragId(leerlaufBuchungsAuftrag_);
            // Refused (the office order is gone): nothing is deleted and the day goes on.
            if (db.InsertLeistung(*leistung) <= 0) {
                raiseError(err::kInvalidCall,
                           QStringLiteral("Die unproduktive Zeit konnte nicht auf den Auftrag %1 "
                                          "gebucht werden. Der Tagesabschluss wurde nicht "
                                          "vorgenommen; bitte wählen Sie einen anderen Auftrag.")
                               .arg(leerlaufBuchungsAuftrag_));
            }
            db.LeistungLoeschen(*leistung);
            db.AuftragLoeschen(leerlauf);
            db.ZeiterfassungAbschliessen();
        });
    }
    return ergebnis;
}

void CStoppUhren::StoppUhrenAnzeigen() {
    Procedure p(trace_, "StoppUhrenAnzeigen");
    p.run([&] { StoppUhrFenster().Anzeigen(*this); });
}

std::int32_t CStoppUhren::lookUpPersonNumber(std::int32_t id, bool kanzlei) {
    std::unique_ptr<platform::PersonStamm> person = platform_.createPersonStamm();
    person->setId(id);
    person->setKanzlei(kanzlei);
    person->Load(true);
    const std::int32_t number = person->Nummer();
    person->Close();
    return number;
}

void CStoppUhren::Mandant(std::int32_t id) {
    Procedure p(trace_, "Mandant - Property Let");
    p.run([&] {
        mlMandant_ = id;
        mlMandantNr_ = lookUpPersonNumber(id, false);
    });
}

void CStoppUhren::Kanzlei(std::int32_t id) {
    Procedure p(trace_, "Kanzlei - Property Let");
    p.run([&] {
        mlKanzlei_ = id;
        mlKanzleiNr_ = lookUpPersonNumber(id, true);
    });
}

void CStoppUhren::gSetPsIdAndNumber(bool bKanzlei, std::int32_t lIDPerson, std::int32_t lManNr) {
    Procedure p(trace_, "gSetPsIdAndNumber");
    p.run([&] {
        mlMandant_ = 0;
        mlMandantNr_ = 0;
        mlKanzlei_ = 0;
        mlKanzleiNr_ = 0;
        if (lIDPerson != 0) {
            if (bKanzlei) {
                mlKanzlei_ = lIDPerson;
                mlKanzleiNr_ = lManNr;
            } else {
                mlMandant_ = lIDPerson;
                mlMandantNr_ = lManNr;
            }
        }
        if (trace_.enabled()) {
            // The values follow the name without a blank, as the trace has always shown them.
            p.setEndText(QStringLiteral("End gSetPsIdAndNumbermlMandant = %1, mlMandantNr = %2, "
                                        "mlKanzlei = %3, mlKanzleiNr = %4")
                             .arg(mlMandant_)
                             .arg(mlMandantNr_)
                             .arg(mlKanzlei_)
                             .arg(mlKanzleiNr_));
        }
    });
}

std::int32_t CStoppUhren::plMitarbeiterNr() {
    Procedure p(trace_, "plMitarbeiterNr - Property Get");
    return p.run([&] {
        if (mitarbeiterNr_ == 0) {
            std::unique_ptr<platform::Mitarbeiter> mitarbeiter = createHostObject(
                p, platform_, QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass"),
                QStringLiteral("srvQeMit.dll"), [&] { return platform_.createMitarbeiter(); });
            mitarbeiter->setId(mitarbeiterId_);
            mitarbeiter->Load(true);
            mitarbeiterNr_ = mitarbeiter->Nummer();
            mitarbeiter->Close();
        }
        return mitarbeiterNr_;
    });
}

}  // namespace orv

extern "C" ORV_EXPORT orv::_CStoppUhren* ORVkStoppUhren_Create(
    orv::platform::PlatformFactory* platform) {
    return new orv::CStoppUhren(*platform);
}
