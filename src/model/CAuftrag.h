#pragma once

#include "ORVkStoppUhren/Enums.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/runtime/KeyedCollection.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <utility>

namespace orv {

class CStoppUhren;
class cLeistung;

// An order's own values, apart from its links to the session and its entries: what a failed
// step puts back.
struct OrderValues {
    std::shared_ptr<cLeistung> leistung_;  // the current entry
    std::int32_t mandantId_ = 0;
    std::int32_t mandantNr_ = 0;
    QString mandant_;
    std::int32_t auftragArtId_ = 0;
    std::int32_t auftragArtNr_ = 0;
    QString auftragArt_;
    std::int32_t angelegenheitId_ = 0;
    std::int32_t angelegenheitNr_ = 0;
    QString angelegenheit_;
    std::int32_t monat_ = 0;
    std::int32_t jahr_ = 0;
    std::int32_t lfdNr_ = 0;
    std::int32_t objektNr_ = 0;
    QString angelegenheitErweitert_;
    std::int32_t sekunden_ = 0;
    QString zeitText_;
    QDateTime beginn_;
    QDateTime ende_;
    QDateTime letzterTick_;
    std::int32_t id_ = 0;
    std::int32_t auftragId_ = 0;
    std::int32_t status_ = AuftragStatus_InAktiv;
    bool leerlauf_ = false;
    std::int32_t tickCounter_ = 0;
    QString leistungsTextVorgabe_;
    bool fakturiert_ = false;
    bool vuvAuftrag_ = false;
    bool isBewertung_ = false;
    bool isSchenkung_ = false;
    bool isErbschaft_ = false;
    bool isGrundsteuer_ = false;
    bool mehrfachAnlage_ = false;
    QString objektBezeichnung_;
};

// One stopwatch of the employee: an order of a client with its running time and its time
// entries, mirrored by one row of the time-recording table. The idle order ("p0") collects the
// time spent on no order.
class CAuftrag : public std::enable_shared_from_this<CAuftrag>, private OrderValues {
public:
    using Leistungen_t = KeyedCollection<cLeistung>;
    // The idle order's key; every other order's key is "a" and its row id.
    static QString LeerlaufKey() { return QStringLiteral("p0"); }

    explicit CAuftrag(CStoppUhren& owner);
    ~CAuftrag();
    CAuftrag(const CAuftrag&) = delete;
    CAuftrag& operator=(const CAuftrag&) = delete;

    // Right after creation: a row id of 0 without noInsert writes the order's row now.
    void Init(CStoppUhren& owner, bool leerlauf, std::int32_t rowId, bool noInsert);

    // Writes the order's row and the current entry's row.
    void Speichern();

    std::int32_t MandantId() const { return mandantId_; }
    void MandantId(std::int32_t v) { mandantId_ = v; }
    std::int32_t MandantNr() const { return mandantNr_; }
    void MandantNr(std::int32_t v) { mandantNr_ = v; }
    QString MandantLabel() const;
    const QString& Mandant() const { return mandant_; }
    void Mandant(const QString& v) { mandant_ = v; }
    std::int32_t AuftragArtId() const { return auftragArtId_; }
    void AuftragArtId(std::int32_t v) { auftragArtId_ = v; }
    std::int32_t AuftragArtNr() const { return auftragArtNr_; }
    void AuftragArtNr(std::int32_t v) { auftragArtNr_ = v; }
    const QString& AuftragArt() const { return auftragArt_; }
    void AuftragArt(const QString& v) { auftragArt_ = v; }
    std::int32_t AngelegenheitId() const { return angelegenheitId_; }
    void AngelegenheitId(std::int32_t v) { angelegenheitId_ = v; }
    std::int32_t AngelegenheitNr() const { return angelegenheitNr_; }
    void AngelegenheitNr(std::int32_t v) { angelegenheitNr_ = v; }
    // The matter text, followed by the assessed object's description when there is one.
    QString Angelegenheit() const;
    void Angelegenheit(const QString& v) { angelegenheit_ = v; }
    std::int32_t Monat() const { return monat_; }
    void Monat(std::int32_t v) { monat_ = v; }
    std::int32_t Jahr() const { return jahr_; }
    void Jahr(std::int32_t v) { jahr_ = v; }
    std::int32_t LfdNr() const { return lfdNr_; }
    void LfdNr(std::int32_t v) { lfdNr_ = v; }
    std::int32_t ObjektNr() const { return objektNr_; }
    void ObjektNr(std::int32_t v) { objektNr_ = v; }
    QString ObjektNrText() const { return {}; }
    const QString& AngelegenheitErweitert() const { return angelegenheitErweitert_; }
    void AngelegenheitErweitert(const QString& v) { angelegenheitErweitert_ = v; }
    std::int32_t Sekunden() const { return sekunden_; }
    void Sekunden(std::int32_t v) { sekunden_ = v; }
    QString ZeitText() const;
    QString ZeitTextIndustrie() const;
    void ZeitText(const QString& v) { zeitText_ = v; }  // kept, never read
    const QDateTime& Beginn() const { return beginn_; }
    QString BeginnText() const;
    void Beginn(const QDateTime& v) { beginn_ = v; }
    const QDateTime& Ende() const { return ende_; }
    QString EndeText() const;
    void Ende(const QDateTime& v) { ende_ = v; }
    std::int32_t Id() const { return id_; }
    void Id(std::int32_t v) { id_ = v; }
    QString Key() const;
    std::int32_t AuftragId() const { return auftragId_; }
    void AuftragId(std::int32_t v) { auftragId_ = v; }
    std::int32_t Status() const { return status_; }
    void Status(std::int32_t v) { status_ = v; }
    // The number as text, or nothing for 0 (grid cells show no zeros).
    static QString GetNumberText(std::int32_t n);
    const QString& LeistungsTextVorgabe() const { return leistungsTextVorgabe_; }
    void LeistungsTextVorgabe(const QString& text);
    bool Fakturiert() const { return fakturiert_; }
    void Fakturiert(bool v) { fakturiert_ = v; }
    bool Leerlauf() const { return leerlauf_; }
    bool VuVAuftrag() const { return vuvAuftrag_; }
    void VuVAuftrag(bool v) { vuvAuftrag_ = v; }
    bool IsBewertung() const { return isBewertung_; }
    void IsBewertung(bool v) { isBewertung_ = v; }
    bool IsSchenkung() const { return isSchenkung_; }
    void IsSchenkung(bool v) { isSchenkung_ = v; }
    bool IsErbschaft() const { return isErbschaft_; }
    void IsErbschaft(bool v) { isErbschaft_ = v; }
    bool IsGrundsteuer() const { return isGrundsteuer_; }
    void IsGrundsteuer(bool v) { isGrundsteuer_ = v; }
    bool MehrfachAnlage() const { return mehrfachAnlage_; }
    void MehrfachAnlage(bool v) { mehrfachAnlage_ = v; }
    void LetzterTick(const QDateTime& time);
    const QString& ObjektBezeichnung() const { return objektBezeichnung_; }
    void ObjektBezeichnung(const QString& v) { objektBezeichnung_ = v; }

    // For the component's own classes.
    void Increment();
    bool AuftragBrowsen();
    void AuftragAendern(std::int32_t id);
    bool AuftragAnzeigen();
    void Starten(bool setBeginn);
    // Its current entry was taken away while it runs: it counts on in a fresh one.
    void LeistungErneuern();
    void Anhalten(bool pause, bool beenden);
    void Loeschen();
    bool LeistungenBeendet() const;
    void LeistungenStatusKorrigieren();
    Leistungen_t& Leistungen() { return leistungen_; }
    const Leistungen_t& Leistungen() const { return leistungen_; }
    // By key, or by position when the key is a number.
    std::shared_ptr<cLeistung> Leistung(const QString& key) const;
    const std::shared_ptr<cLeistung>& AktuelleLeistung() const { return leistung_; }
    void AktuelleLeistung(std::shared_ptr<cLeistung> leistung) { leistung_ = std::move(leistung); }
    CStoppUhren& StoppUhren() const { return *owner_; }
    void StoppUhren(CStoppUhren& owner) { owner_ = &owner; }
    // "MM/yyyy" of the order's period.
    QString PeriodeText() const;

    // Accounting steps since the last periodic save.
    std::int32_t tickCounter() const { return tickCounter_; }

private:
    friend class RestorePoint;

    QDateTime now() const;
    void updateStatusRow();
    void starten(bool setBeginn);
    // A new entry row, the order's current entry from now on.
    void neueLeistung();
    void anhalten(bool pause, bool beenden);
    void auftragAendern(std::int32_t id);

    CStoppUhren* owner_;
    ObjectTrace trace_;
    Leistungen_t leistungen_;
};

}  // namespace orv
