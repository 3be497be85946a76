// The session's clock and the switching of its stopwatches.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "persistence/OneTransaction.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "platform/Windows.h"
#include "platform/host/OfficeServices.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <exception>
#include <utility>

namespace orv {
namespace {

// Within its first ten ticks the session makes sure once that its window is not covered.
constexpr std::int32_t kVordergrundTicks = 10;

}  // namespace

CAuftrag& CStoppUhren::laufenderAuftrag() const {
    return auftragLaeuft_ && aktuellerAuftrag_ != nullptr ? *aktuellerAuftrag_ : LeerlaufAuftrag();
}

platform::TimerObject& CStoppUhren::Uhr() const {
    if (timer_ == nullptr) {
        raiseError(err::kObjectNotSet,
                   QStringLiteral("Die Uhr der Stoppuhren läuft nicht, weil das Starten nicht "
                                  "gelungen ist. Bitte beenden Sie die Stoppuhren und starten "
                                  "Sie sie erneut."));
    }
    return *timer_;
}

void CStoppUhren::TimerStarten(bool& ersterStart) {
    Procedure p(trace_, "TimerStarten");
    p.run([&] {
        if (ersterStart) {
            // A session without its login does not start.
            const QDateTime loginTime = platform_.clock().now();
            loginId_ = db::inOneTransaction(platform_.officeDatabase(), [&] {
                if (anmeldungenSchliessen_) {
                    anmeldungenSchliessen_();
                }
                return DbAccess().LogIn(loginTime);
            });
            anmeldungenSchliessen_ = nullptr;
            loginZeit_ = loginTime;
            timerNotify_ = this;
            timer_ = platform_.createTimer();
            timer_->take(timerNotify_);
            uhrLaeuftWeiter(false);
            return;
        }
        // A start done again after its clock was made: the logins the first attempt found
        // open are still owed.
        if (anmeldungenSchliessen_) {
            db::inOneTransaction(platform_.officeDatabase(),
                                 std::exchange(anmeldungenSchliessen_, {}));
        }
        // After a pause the employee works on whatever the database says: the clock runs, and
        // the stretch gets its login now or, when the database refuses it, as soon as it takes
        // it again.
        uhrLaeuftWeiter(true);
        anmeldungNachholen();
    });
}

void CStoppUhren::uhrLaeuftWeiter(bool anmeldungFaellig) {
    platform::TimerObject& uhr = Uhr();
    const QDateTime jetzt = platform_.clock().now();
    letzterTick_ = jetzt;
    // The stopwatch that runs counts from now: time while the clock stood is no one's.
    laufenderAuftrag().LetzterTick(jetzt);
    if (anmeldungFaellig) {
        anmeldungFaellig_ = jetzt;
    }
    uhr.start();
}

void CStoppUhren::anmeldungNachholen() {
    if (!anmeldungFaellig_.isValid()) {
        return;
    }
    // The pause ends where the next login begins, in one step: a session that dies in between
    // leaves an open pause, which the next start closes, never a stretch that is neither.
    db::inOneTransaction(platform_.officeDatabase(), [&] {
        DbAccess().PausenEnde();
        loginId_ = DbAccess().LogIn(anmeldungFaellig_);
    });
    loginZeit_ = anmeldungFaellig_;
    anmeldungFaellig_ = QDateTime();
}

void CStoppUhren::abmelden() {
    anmeldungNachholen();
    DbAccess().LogOut();
}

void CStoppUhren::TimerAnhalten() {
    Procedure p(trace_, "TimerAnhalten");
    p.run([&] {
        platform::TimerObject& uhr = Uhr();
        abmelden();
        uhr.stop();
    });
}

void CStoppUhren::Angehalten(const CAuftrag& auftrag) {
    // Another order that stops or ends leaves the running stopwatch alone.
    if (auftragLaeuft_ && !auftrag.Leerlauf() &&
        (aktuellerAuftrag_ == nullptr || aktuellerAuftrag_.get() == &auftrag)) {
        auftragLaeuft_ = false;
        // From its own last tick the idle stopwatch would count the stopped order's time again.
        LeerlaufAuftrag().LetzterTick(platform_.clock().now());
    }
}

void CStoppUhren::TimerTick() {
    Procedure p(trace_, "CTimerNotify_TimerTick");
    p.report([&] {
        try {
            const QDateTime now = platform_.clock().now();
            try {
                anmeldungNachholen();
            } catch (...) {
                // Still refused: the failure was reported when the login went missing, and the
                // next tick tries again.
            }
            if (!auftragLaeuft_) {
                LeerlaufAuftrag().Increment();
            } else if (zeitzaehlungAktiv_) {
                if (aktuellerAuftrag_ == nullptr) {
                    raiseObjectNotSet(QStringLiteral("Es läuft kein aktueller Auftrag."));
                }
                // The total grows by what the order counted, so it always equals the orders' sum,
                // also after a switch between two ticks.
                CAuftrag& auftrag = *aktuellerAuftrag_;
                const std::int32_t vorher = auftrag.Sekunden();
                const auto mitzaehlen = [&] {
                    auftragsSekunden_ = rt::addLong(auftragsSekunden_,
                                                    rt::subtractLong(auftrag.Sekunden(), vorher));
                };
                try {
                    auftrag.Increment();
                } catch (...) {
                    // The order counted before its save failed; so does the total.
                    mitzaehlen();
                    throw;
                }
                mitzaehlen();
            } else if (aktuellerAuftrag_ != nullptr) {
                // Seconds the guard kept from counting are lost for the order and its entry too,
                // not counted later by them alone.
                aktuellerAuftrag_->LetzterTick(now);
            }
            letzterTick_ = now;
            platform::FrmStoppUhr& fenster = StoppUhrFenster();
            fenster.AktualisiereZeiten();
            if (vordergrundZaehler_ >= 0 && vordergrundZaehler_ < kVordergrundTicks) {
                if (fenster.IstZuOberst()) {
                    ++vordergrundZaehler_;
                } else {
                    FensterNachVorn(fenster);
                    vordergrundZaehler_ = -1;
                }
            }
        } catch (...) {
            const OrvError error = toOrvError(std::current_exception());
            trace_.trace(QStringLiteral("CTimerNotify_TimerTick Error %1: %2line: %3")
                             .arg(error.number())
                             .arg(error.description())
                             .arg(error.line()));
            throw error;
        }
    });
}

void CStoppUhren::FensterNachVorn(platform::FrmStoppUhr& fenster) {
    fenster.NachVorn();
}

platform::FrmStoppUhr& CStoppUhren::StoppUhrFenster() {
    if (frmStoppUhr_ == nullptr) {
        frmStoppUhr_ = platform_.createFrmStoppUhr();
    }
    return *frmStoppUhr_;
}

template <typename Work>
decltype(auto) CStoppUhren::wechseln(RestorePoint& point, Work&& work) {
    try {
        return point.run(std::forward<Work>(work));
    } catch (...) {
        // No switch happened: the stopwatch that ran counts on, also once the window, which
        // held the counting back for the switch, has given up on it.
        zeitzaehlungAktiv_ = true;
        throw;
    }
}

bool CStoppUhren::AuftragStarten(QString& key, bool& neu) {
    Procedure p(trace_, "AuftragStarten");
    return p.run([&] {
        // A new order only joins the session's orders, which every restore point keeps.
        RestorePoint point(*this);
        if (!neu) {
            CAuftrag& auftrag =
                key != CAuftrag::LeerlaufKey() ? *auftraege_.item(key) : LeerlaufAuftrag();
            // The stopwatch that runs goes on as it is: started again it would end its entry
            // and open another one, of no seconds when within the same second.
            if (&auftrag == &laufenderAuftrag() && auftrag.Status() == AuftragStatus_Aktiv) {
                return true;
            }
            point.keep(auftrag);
        }
        return wechseln(point, [&] { return auftragStarten(key, neu); });
    });
}

bool CStoppUhren::auftragStarten(const QString& key, bool neu) {
    if (neu) {
        auto auftrag = std::make_shared<CAuftrag>(*this);
        auftrag->MandantId(mandantVorgabe_);
        auftrag->Init(*this, false, auftrag->Id(), false);
        auftraege_.Add(auftrag, auftrag->Key());
        aktuellerAuftrag_ = auftrag;
        auftrag->Starten(true);
    } else if (key != CAuftrag::LeerlaufKey()) {
        aktuellerAuftrag_ = auftraege_.item(key);
        aktuellerAuftrag_->Starten(false);
    } else {
        LeerlaufAuftrag().Starten(false);
    }
    return true;
}

void CStoppUhren::AuftragAnhalten(bool& beenden) {
    Procedure p(trace_, "AuftragAnhalten");
    p.run([&] {
        RestorePoint point(*this);
        point.keep(laufenderAuftrag());
        wechseln(point, [&] {
            if (auftragLaeuft_ && aktuellerAuftrag_ != nullptr) {
                // The idle stopwatch runs from now until a start says otherwise.
                aktuellerAuftrag_->Anhalten(false, beenden);
                auftragLaeuft_ = false;
                aktuellerAuftrag_ = nullptr;
            } else {
                auftragLaeuft_ = false;
                LeerlaufAuftrag().Anhalten(false, beenden);
            }
        });
    });
}

bool CStoppUhren::AuftragBeenden(QString& key) {
    Procedure p(trace_, "AuftragBeenden");
    return p.run([&] {
        const std::shared_ptr<CAuftrag> auftrag = auftraege_.item(key);
        RestorePoint point(*this);
        point.keep(*auftrag).keep(LeerlaufAuftrag());
        wechseln(point, [&] {
            // Only ending the order that runs falls back to the idle time; any other order
            // ends without touching the stopwatch that runs.
            const bool lief = auftragLaeuft_ && aktuellerAuftrag_ == auftrag;
            const bool warAktuell = aktuellerAuftrag_ == auftrag;
            auftrag->Anhalten(false, true);
            if (lief) {
                QString leerlauf = CAuftrag::LeerlaufKey();
                bool neu = false;
                AuftragStarten(leerlauf, neu);
            }
            if (warAktuell) {
                aktuellerAuftrag_ = nullptr;
            }
        });
        return true;
    });
}

void CStoppUhren::Pause() {
    Procedure p(trace_, "Pause");
    p.run([&] {
        Uhr();
        db::Database& database = platform_.officeDatabase();
        laufenderAuftrag().Speichern();
        // The login ends where the pause begins, in one step: a session that dies in between
        // leaves an open login, which the next start closes.
        const QDateTime faellig = anmeldungFaellig_;
        try {
            db::inOneTransaction(database, [&] {
                TimerAnhalten();
                DbAccess().PauseBeginn();
            });
        } catch (...) {
            // No pause began: the login is as open (or as owed) as before, the clock counts on
            // from now.
            anmeldungFaellig_ = faellig;
            uhrLaeuftWeiter(false);
            throw;
        }
        std::exception_ptr fehler;
        try {
            const QDateTime pauseBeginn = platform_.clock().now();
            if (anwesenheit_ == nullptr) {
                anwesenheit_ = platform_.createAnwesenheitsObjekt();
            }
            anwesenheit_->Abwesenheit(0, plMitarbeiterNr(), QString(), true);
            {
                std::unique_ptr<platform::FrmPause> frmPause = platform_.createFrmPause();
                std::int32_t sekunden = 0;
                frmPause->Pause(*this, pauseBeginn, sekunden);
            }
            anwesenheit_->Abwesenheit(0, plMitarbeiterNr(), QString(), false);
        } catch (...) {
            fehler = std::current_exception();
        }
        // Whatever failed, the employee works on: the clock runs again, and the pause ends
        // with the stretch's login, now or as soon as the database takes them. The failure is
        // reported after.
        try {
            bool ersterStart = false;
            TimerStarten(ersterStart);
        } catch (...) {
            if (fehler == nullptr) {
                fehler = std::current_exception();
            }
        }
        if (fehler != nullptr) {
            std::rethrow_exception(fehler);
        }
    });
}

QString CStoppUhren::AuftragsZeitText() const {
    return SekundenZeit(auftragsSekunden_);
}

QString CStoppUhren::LeerlaufZeitText() const {
    return SekundenZeit(LeerlaufAuftrag().Sekunden());
}

QString CStoppUhren::GesamtZeitText() const {
    return SekundenZeit(rt::addLong(LeerlaufAuftrag().Sekunden(), auftragsSekunden_));
}

void CStoppUhren::AuftragsSekundenNeuBerechnen() {
    std::int32_t summe = 0;
    for (const std::shared_ptr<CAuftrag>& auftrag : auftraege_) {
        summe = rt::addLong(summe, auftrag->Sekunden());
    }
    auftragsSekunden_ = summe;
}

}  // namespace orv
