// The session's clock and the switching of its stopwatches.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "platform/Windows.h"
#include "platform/host/OfficeServices.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <utility>

namespace orv {
namespace {

// Within its first ten ticks the session makes sure once that its window is not covered.
constexpr std::int32_t kVordergrundTicks = 10;

}  // namespace

CAuftrag& CStoppUhren::laufenderAuftrag() const {
    return auftragLaeuft_ && aktuellerAuftrag_ != nullptr ? *aktuellerAuftrag_ : LeerlaufAuftrag();
}

void CStoppUhren::TimerStarten(bool& ersterStart) {
    Procedure p(trace_, "TimerStarten");
    p.run([&] {
        const QDateTime loginTime = platform_.clock().now();
        loginId_ = DbAccess().LogIn(loginTime);
        loginZeit_ = loginTime;
        letzterTick_ = loginTime;
        if (ersterStart) {
            timerNotify_ = this;
            timer_ = platform_.createTimer();
            timer_->take(timerNotify_);
        }
        // The stopwatch that runs counts from now: time while the clock stood is no one's.
        laufenderAuftrag().LetzterTick(loginTime);
        timer_->start();
    });
}

void CStoppUhren::TimerAnhalten() {
    Procedure p(trace_, "TimerAnhalten");
    p.run([&] {
        DbAccess().LogOut();
        timer_->stop();
    });
}

void CStoppUhren::TimerTick() {
    Procedure p(trace_, "CTimerNotify_TimerTick");
    p.report([&] {
        try {
            const QDateTime now = platform_.clock().now();
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
            point.keep(key != CAuftrag::LeerlaufKey() ? *auftraege_.item(key) : LeerlaufAuftrag());
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
                auftragLaeuft_ = false;
                aktuellerAuftrag_->Anhalten(false, beenden);
                aktuellerAuftrag_ = nullptr;
                // The idle stopwatch runs from now until a start says otherwise; from its own
                // last tick it would count the stopped order's time once more.
                LeerlaufAuftrag().LetzterTick(platform_.clock().now());
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
            auftragLaeuft_ = false;
            const bool warAktuell = aktuellerAuftrag_ == auftrag;
            auftrag->Anhalten(false, true);
            QString leerlauf = CAuftrag::LeerlaufKey();
            bool neu = false;
            AuftragStarten(leerlauf, neu);
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
        laufenderAuftrag().Speichern();
        TimerAnhalten();
        try {
            DbAccess().PauseBeginn();
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
            DbAccess().PausenEnde();
            bool ersterStart = false;
            TimerStarten(ersterStart);
        } catch (...) {
            // Whatever the database missed, the day goes on: the clock runs again and the
            // running stopwatch counts from now, without a login record for this stretch.
            const QDateTime now = platform_.clock().now();
            letzterTick_ = now;
            laufenderAuftrag().LetzterTick(now);
            timer_->start();
            throw;
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
