#pragma once

#include "ORVkStoppUhren/CStoppUhren.h"
#include "platform/Timer.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/runtime/KeyedCollection.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace orv::platform {
class AnwesenheitsObjekt;
class FrmStoppUhr;
class PlatformFactory;
}  // namespace orv::platform

namespace orv {

class CAuftrag;
class CDBAccess;
class RestorePoint;
class cLeistung;

// One employee's session: its stopwatches, the clock, the options and rights read at start.
// The timer calls it back through its notification interface.
class CStoppUhren final : public _CStoppUhren, public platform::TimerNotify {
public:
    explicit CStoppUhren(platform::PlatformFactory& platform);
    ~CStoppUhren() override;

    // The host's interface.
    void Anzeigen() override;
    void Ausblenden() override;
    bool Starten(std::int32_t& lMitarbeiter) override;
    bool Beenden() override;
    std::int32_t Mandant() const override { return mlMandant_; }
    void Mandant(std::int32_t id) override;
    std::int32_t Kanzlei() const override { return mlKanzlei_; }
    void Kanzlei(std::int32_t id) override;
    std::int32_t MitarbeiterId() const override { return mitarbeiterId_; }
    bool LeistungenAufFakturierteAuftraege() const override { return leistungenAufFakturierte_; }
    void LeistungenAufFakturierteAuftraege(bool allowed) override {
        leistungenAufFakturierte_ = allowed;
    }
    bool IndustrieZeit() const override { return industrieZeit_; }
    void IndustrieZeit(bool on) override { industrieZeit_ = on; }
    std::int32_t MandantNr() const override { return mlMandantNr_; }
    std::int32_t KanzleiNr() const override { return mlKanzleiNr_; }
    void gSetPsIdAndNumber(bool bKanzlei, std::int32_t lIDPerson, std::int32_t lManNr) override;

    // For the component's own classes and windows.
    platform::PlatformFactory& platform() const { return platform_; }
    const ObjectTrace& trace() const { return trace_; }
    // The database gateway; error 91 before Starten created it.
    CDBAccess& DbAccess() const;
    KeyedCollection<CAuftrag>& Auftraege() { return auftraege_; }
    // The productive order with that key; error 5 when there is none.
    std::shared_ptr<CAuftrag> Auftrag(const QString& key) const;
    // The idle order; error 91 before it was set up.
    CAuftrag& LeerlaufAuftrag() const;
    const std::shared_ptr<CAuftrag>& AktuellerAuftrag() const { return aktuellerAuftrag_; }
    // The first productive order that holds that office order, or nullptr.
    std::shared_ptr<CAuftrag> AuftragZuAuftragId(std::int32_t auftragId) const;
    QString SekundenZeit(std::int32_t seconds) const;
    QString AuftragsZeitText() const;
    QString LeerlaufZeitText() const;
    QString GesamtZeitText() const;
    void AuftragsSekundenNeuBerechnen();

    // The clock and the switching of stopwatches; the window clears the counting guard around a
    // switch made of several calls.
    void TimerTick() override;
    bool AuftragStarten(QString& key, bool& neu);
    void AuftragAnhalten(bool& beenden);
    bool AuftragBeenden(QString& key);
    void Pause();

    // The kind flags and the object description of a property-assessment order.
    QString fsBezeichnungObjektNr(CAuftrag& auftrag, std::int32_t& kenner);
    bool fbIsVuV(const QString& kenner);
    bool fbIsBewertung(const QString& kenner);
    bool fbIsSchenkung(const QString& kenner);
    bool fbIsErbschaft(const QString& kenner);
    bool fbIsGrundsteuer(const QString& kenner);

    // Operations on time entries, as the windows call them.
    bool LeistungFreigeben(QString& auftragKey, QString& leistungKey);
    std::int32_t LeistungErzeugen(QString& auftragKey, QString& leistungKey, std::int32_t& seconds);
    bool LeistungLoeschen(QString& auftragKey, QString& leistungKey);
    std::int32_t LeistungBearbeiten(QString& auftragKey, QString& leistungKey);
    std::int32_t LeistungUmbuchen(QString& auftragKey, const QString& leistungKey);
    // One rebooking of the rebooking window: seconds move from an entry to another entry, or
    // to the idle time when there is no target. 1 moved; 2 the source, a productive entry left
    // without seconds, was deleted. A change that leaves anything below 0 is refused.
    std::int32_t Umbuchen(cLeistung& quelle, cLeistung* ziel, std::int32_t sekunden);
    // Rebooking onto a new entry: the edit window creates it with at most the seconds, and what
    // it receives leaves the source in the same step. 0 nothing created; 1 created; 2 created,
    // and the source, a productive entry left without seconds, was deleted.
    std::int32_t NeueLeistungUmbuchen(cLeistung& quelle, QString& auftragKey, QString& leistungKey,
                                      std::int32_t sekunden);
    void Eigenschaftenanzeigen();
    std::int32_t ExterneZeitErfassen(std::int32_t& seconds, QDateTime& von, QDateTime& bis);
    // Why a period worked outside cannot join today's idle time, as the employee is told;
    // empty when it can: today, ending after it begins and before the current login, and
    // overlapping no login.
    QString ExterneZeitPruefen(const QDateTime& von, const QDateTime& bis);
    // A standard text's number typed as the text becomes that standard text.
    QString StandardLeistungsText(QString& text);
    std::int32_t SekundenAusZeit(const QString& zeit);
    // 0 unchanged, 1 more than the idle time, 2 zero, 3 less, 4 more but covered by idle time.
    std::int32_t PruefeLeistungZeit(const QString& zeit, std::int32_t bisher, QString& differenz);
    // The entries released for booking; nullptr while none were released.
    KeyedCollection<cLeistung>* FreigegebeneLeistungen() const { return freigegeben_.get(); }

    // Booking the released entries as services, one by one or summed per order.
    void EinzelBuchen();
    void SammelBuchen();

    // Tidying the orders: finished orders without entries go; entries of finished orders that
    // still claim to run become deleted.
    void BeendeteAuftraegeLoeschen();
    void LeistungenStatusKorrigieren();
    // Adds time to the idle order and its entry, and saves both.
    void ZusatzZeitLeerlauf(std::int32_t seconds);
    // The order on which the day's idle time is booked.
    std::int32_t LeerlaufBuchungsAuftrag() const { return leerlaufBuchungsAuftrag_; }
    std::int32_t MandantVorgabe() const { return mandantVorgabe_; }
    void MandantVorgabe(std::int32_t id) { mandantVorgabe_ = id; }
    std::int32_t AuftragsSekunden() const { return auftragsSekunden_; }
    void AuftragsSekunden(std::int32_t seconds) { auftragsSekunden_ = seconds; }
    bool AuftragLaeuft() const { return auftragLaeuft_; }
    void AuftragLaeuft(bool running) { auftragLaeuft_ = running; }
    // An order's stopwatch stopped: when it was the productive one that ran, the idle
    // stopwatch takes over from this moment.
    void Angehalten(const CAuftrag& auftrag);
    void ZeitzaehlungAktiv(bool active) { zeitzaehlungAktiv_ = active; }
    bool zeitzaehlungAktiv() const { return zeitzaehlungAktiv_; }
    std::int32_t LoginId() const { return loginId_; }
    const QDateTime& LoginZeit() const { return loginZeit_; }
    double Verwaltungsanteil() const { return verwaltungsanteil_; }
    std::int32_t Verwaltungsmitarbeiter() const { return verwaltungsmitarbeiter_; }
    // An administrative share is booked only with both an employee and a share above 0.
    bool VerwaltungsanteilAktiv() const {
        return verwaltungsmitarbeiter_ >= 1 && verwaltungsanteil_ > 0;
    }
    // A stopwatch start never forces a new entry by itself.
    bool LeistungJeStart() const { return false; }
    bool RechtLeistungAendern() const { return rechtLeistungAendern_; }          // right 38
    bool RechtLeistungenSummieren() const { return rechtLeistungenSummieren_; }  // right 34
    bool RechtAuftragBrowser() const { return rechtAuftragBrowser_; }            // right 28
    // The employee's number in the office, looked up once.
    std::int32_t plMitarbeiterNr();

private:
    friend class RestorePoint;

    void OptionenLesen();
    // The database part of SammelBuchen, in one transaction; the orders whose service the
    // office refused.
    std::vector<std::shared_ptr<CAuftrag>> sammelBuchen();
    // Tells the employee which orders' entries stayed provisional because their booking was
    // refused.
    void nichtGebuchtMelden(const std::vector<std::shared_ptr<CAuftrag>>& auftraege);
    // "90/901 Steuerliche Beratung 03/2026": an order as the employee's messages name it.
    static QString auftragText(const CAuftrag& auftrag);
    // Whether the office still holds the order; when not, the employee is told.
    bool auftragVorhanden(const CAuftrag& auftrag);
    // When a step took the running order's current entry away (booked, deleted or moved), the
    // order counts on in a fresh provisional entry, as a start would open it.
    void laufendeLeistungErneuern();
    void RechteLesen();
    void AuftraegeLeistungenLaden();
    void LoginHeutePruefen();
    // Books the day's idle time on the order the employee confirms; the edit window's outcome.
    std::int32_t Tagesabschluss();
    void StoppUhrenAnzeigen();
    platform::FrmStoppUhr& StoppUhrFenster();
    void FensterNachVorn(platform::FrmStoppUhr& fenster);
    void TimerStarten(bool& ersterStart);
    void TimerAnhalten();
    // The timer; error 91 when Starten failed before it was created.
    platform::TimerObject& Uhr() const;
    // The clock runs (again) and the running stopwatch counts from now; with a login owed for
    // the stretch that begins.
    void uhrLaeuftWeiter(bool anmeldungFaellig);
    // After a pause: ends the pause and writes the login the clock has been running without,
    // when they are owed.
    void anmeldungNachholen();
    // Closes the login of the stretch that ends now (every open login of the employee).
    void abmelden();
    // What a session that ended without Beenden left open: the writes that close it, done in
    // one step with the new login; empty when nothing is open.
    std::function<void()> offeneAnmeldungenSchliessen();
    // The stopwatch the clock counts on: the current order while a productive order runs,
    // otherwise the idle order.
    CAuftrag& laufenderAuftrag() const;
    // Runs a switch as one step; the stopwatch that ran counts on when it fails.
    template <typename Work>
    decltype(auto) wechseln(RestorePoint& point, Work&& work);
    bool auftragStarten(const QString& key, bool neu);
    double getDouble(const QString& value) const;
    // An entry without time: its row goes, it leaves its order and the released entries, and a
    // finished order left without entries goes too.
    void leistungEntfernen(cLeistung& leistung);
    // Removes an entry from the released entries, if it is there.
    void nichtMehrFreigeben(const cLeistung& leistung);
    // An order whose stopwatch is finished and that holds no entry any more goes.
    void auftragOhneLeistungenLoeschen(const std::shared_ptr<CAuftrag>& auftrag);
    // Time moved between the idle order and a productive order: the idle order and its entry
    // lose what the productive total gains, and their rows are written.
    void leerlaufVerrechnen(std::int32_t differenz);
    // An entry's time changes by the difference, with its order's; the idle time's (no entry,
    // or the idle entry) against the productive total.
    void zeitBuchen(cLeistung* leistung, std::int32_t differenz);
    std::int32_t leistungErzeugen(QString& auftragKey, QString& leistungKey, std::int32_t seconds,
                                  cLeistung* quelle);
    std::int32_t lookUpPersonNumber(std::int32_t id, bool kanzlei);

    platform::PlatformFactory& platform_;
    ObjectTrace trace_;
    std::unique_ptr<CDBAccess> dbAccess_;
    std::unique_ptr<platform::AnwesenheitsObjekt> anwesenheit_;  // created on the first pause
    platform::TimerNotify* timerNotify_ = nullptr;
    std::unique_ptr<platform::TimerObject> timer_;
    KeyedCollection<CAuftrag> auftraege_;
    std::shared_ptr<CAuftrag> leerlauf_;
    std::shared_ptr<CAuftrag> aktuellerAuftrag_;
    std::unique_ptr<KeyedCollection<cLeistung>> freigegeben_;
    std::unique_ptr<platform::FrmStoppUhr> frmStoppUhr_;

    std::int32_t mlMandant_ = 0;
    std::int32_t mlMandantNr_ = 0;
    std::int32_t mlKanzlei_ = 0;
    std::int32_t mlKanzleiNr_ = 0;
    std::int32_t mitarbeiterId_ = 0;
    std::int32_t mitarbeiterNr_ = 0;  // 0 = not yet looked up
    std::int32_t auftragsSekunden_ = 0;
    double verwaltungsanteil_ = 0;
    std::int32_t verwaltungsmitarbeiter_ = 0;
    bool auftragLaeuft_ = false;
    std::int32_t leerlaufBuchungsAuftrag_ = 0;
    bool leistungenAufFakturierte_ = false;
    bool industrieZeit_ = false;
    QDateTime letzterTick_;
    std::int32_t loginId_ = 0;
    QDateTime loginZeit_;
    std::function<void()> anmeldungenSchliessen_;  // owed by this start, see LoginHeutePruefen
    std::int32_t mandantVorgabe_ = 0;
    bool rechtLeistungAendern_ = false;      // right 38
    bool rechtAuftragBrowser_ = false;       // right 28
    bool rechtLeistungenSummieren_ = false;  // right 34
    std::int32_t vordergrundZaehler_ = 0;
    bool zeitzaehlungAktiv_ = false;
    // Where the session's life stands: loaded completely (Beenden has a session to end),
    // started completely (a second Starten is refused), the day closed by a Beenden that did
    // not get to its end (a repeated Beenden only finishes it).
    bool geladen_ = false;
    bool gestartet_ = false;
    bool tagAbgeschlossen_ = false;
    // The clock runs since then without a login record, after a pause whose end the database
    // has not taken yet.
    QDateTime anmeldungFaellig_;
};

}  // namespace orv
