#pragma once

#include "model/CText.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/runtime/KeyedCollection.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>

namespace orv::db {
class Database;
}

namespace orv {

class CAuftrag;
class CStoppUhren;

// An entry's own values, apart from its links to the session: what a failed step puts back.
struct EntryValues {
    CAuftrag* auftrag_ = nullptr;
    KeyedCollection<CText> texte_;
    std::int32_t sekunden_ = 0;
    QString notiz_;
    QDateTime beginn_;
    QDateTime ende_;
    std::int32_t id_ = 0;
    std::int32_t status_ = 0;
    QDateTime letzterTick_;
};

// One provisional time entry: a stretch of an order's running time with its note and text
// lines, mirrored by one entry row under the order's row.
class cLeistung : public std::enable_shared_from_this<cLeistung>, private EntryValues {
public:
    using Texte_t = KeyedCollection<CText>;
    // The status of an entry object whose row was deleted; beyond the stored statuses.
    static constexpr std::int32_t kStatusZeileGeloescht = 5;

    explicit cLeistung(CStoppUhren& session);
    ~cLeistung();
    cLeistung(const cLeistung&) = delete;
    cLeistung& operator=(const cLeistung&) = delete;

    // Right after creation: belongs to the order; a new row is written at once when asked.
    void Init(CAuftrag& auftrag, bool newRow);

    // Writes the row (inserted when asked, else updated) and the text lines; an entry without
    // seconds or without a row any more writes nothing.
    void Speichern(bool insert);

    CAuftrag& Auftrag() const;  // error 91 before the entry belongs to an order
    void Auftrag(CAuftrag& auftrag) { auftrag_ = &auftrag; }
    const QString& Notiz() const { return notiz_; }
    void Notiz(const QString& v) { notiz_ = v; }
    const QDateTime& Beginn() const { return beginn_; }
    void Beginn(const QDateTime& v) { beginn_ = v; }
    QString BeginnText() const;
    const QDateTime& Ende() const { return ende_; }
    void Ende(const QDateTime& v) { ende_ = v; }
    QString EndeText() const;
    std::int32_t Sekunden() const { return sekunden_; }
    void Sekunden(std::int32_t v) { sekunden_ = v; }
    std::int32_t Id() const { return id_; }
    void Id(std::int32_t v) { id_ = v; }
    QString Key() const;
    std::int32_t Status() const { return status_; }
    void Status(std::int32_t v) { status_ = v; }
    QString ZeitText() const;
    QString ZeitTextIndustrie() const;
    // The administrative share of the entry's seconds.
    std::int32_t VerwaltungsZeit() const;
    QString VerwaltungsZeitText() const;
    void LetzterTick(const QDateTime& time) { letzterTick_ = time; }
    static QString SekundenZeit(std::int32_t seconds);

    // For the component's own classes.
    void Increment();
    // Moves the entry to the session's order for another office order (a new one when no order
    // holds it). asNew writes the entry as a new row first.
    void AuftragAendern(std::int32_t newAuftragId, bool asNew);
    void AuftragAendernVorlauefig(std::int32_t newAuftragId);
    void AnAuftragAnfuegen();
    bool AuftragBrowsen();
    bool AuftragAnzeigen();
    bool AuftragBrowsenVorlauefig();
    void Starten(bool setBeginn);
    // Ends the running stretch; the order's save that follows writes the row.
    void Anhalten(bool pause, bool finish);
    // Deletes the row; with moveToIdle its seconds go back to the idle time.
    bool Loeschen(bool moveToIdle);
    std::shared_ptr<CText> TextHinzufuegen(std::int32_t textId, const QString& text);
    Texte_t& Texte() { return texte_; }
    const Texte_t& Texte() const { return texte_; }
    // By position when the key is a number; nothing for an empty key.
    std::shared_ptr<CText> Text(const QString& key) const;
    QString ErsteZeileText() const;
    // "(VZL) " and the first line: the text of an administrative share's service.
    QString VerwaltungsText() const;
    // The order's default text becomes the first line.
    void StandardTextSetzen(const QString& text);
    // The order's default text reaches the first line only where the employee wrote nothing:
    // the line is empty or still holds the order's previous default text.
    void StandardTextUebernehmen(const QString& text, const QString& bisher);

private:
    friend class RestorePoint;

    QDateTime now() const;
    void speichern(bool insert);
    bool loeschen(bool moveToIdle);
    void auftragAendern(std::int32_t newAuftragId, bool asNew);
    void saveTextLines();
    void leereZeilenLoeschen(db::Database& database);

    CStoppUhren& session_;
    ObjectTrace trace_;
};

}  // namespace orv
