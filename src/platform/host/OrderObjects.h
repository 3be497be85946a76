#pragma once

#include <QDate>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::platform {

// The office's order, loaded by id; the values an order of the component takes over.
class OfficeOrder {
public:
    struct Values {
        std::int32_t mandantId = 0;
        QString mandant;
        std::int32_t mandantNr = 0;
        std::int32_t angelegenheitId = 0;
        std::int32_t angelegenheitNr = 0;
        QString angelegenheit;
        QString angelegenheitErweitert;
        std::int32_t auftragArtNr = 0;
        QString auftragArt;
        std::int32_t lfdNr = 0;
        std::int32_t objektNr = 0;
        std::int32_t jahr = 0;
        std::int32_t monat = 0;
        std::int32_t rechnungen = 0;  // number of invoices of the order
    };

    virtual ~OfficeOrder() = default;
    // False when there is no order with that id.
    virtual bool Load(std::int32_t auftragId) = 0;
    virtual const Values& values() const = 0;
    virtual void Close() = 0;
};

// The office's order browser: the employee picks orders from a list.
class OrderBrowser {
public:
    virtual ~OrderBrowser() = default;
    virtual void setMitarbeiter(std::int32_t mitarbeiterId) = 0;
    virtual void setModus(std::int32_t modus) = 0;
    virtual void setFilter(const QString& field, std::int32_t value) = 0;  // "ManNr"
    virtual void setAuftragAnlageErlaubt(bool allowed) = 0;
    virtual void Anzeigen() = 0;  // modal
    virtual std::vector<std::int32_t> AusgewaehlteAuftraege() const = 0;
};

// The office's order service: an action with a numbered parameter array from 0 to the upper
// bound the service reports for the action. Element 0 is the calling window's handle (0: none).
// Action 4 creates an order, action 10 shows the order display dialog.
class OrderService {
public:
    static constexpr std::int32_t kAktionAnlegen = 4;
    static constexpr std::int32_t kAktionAnzeigen = 10;
    static constexpr std::int32_t kErledigt = 1;  // result of an action done
    // Action 10: the employee (in), the number of orders the user chose (out), the current
    // order's id in and the chosen order's id out.
    static constexpr std::size_t kAnzeigenMitarbeiter = 1;
    static constexpr std::size_t kAnzeigenAnzahl = 2;
    static constexpr std::size_t kAnzeigenAuftrag = 3;

    virtual ~OrderService() = default;
    virtual void Begin(std::int32_t& actionCode) = 0;
    virtual std::int32_t ParameterUBound(std::int32_t& actionCode) = 0;
    // result 1 = done.
    virtual void Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) = 0;
    virtual void End() = 0;
};

// Facts of a matter: whether it allows several orders and its key for the assessment kinds.
class MatterInfo {
public:
    virtual ~MatterInfo() = default;
    virtual void setAngelegenheitId(std::int32_t id) = 0;
    virtual void setModus(std::int32_t modus) = 0;
    virtual void setStichtag(const QDate& date) = 0;
    virtual bool Read(bool& found) = 0;
    virtual bool MehrfachAnlage() const = 0;
    virtual std::int32_t Kenner() const = 0;
    virtual void Close() = 0;
};

// Finds orders by their business key.
class OrderLookup {
public:
    virtual ~OrderLookup() = default;
    virtual bool Init() = 0;
    virtual void setJahr(std::int32_t) = 0;
    virtual void setMonat(std::int32_t) = 0;
    virtual void setMandantId(std::int32_t) = 0;
    virtual void setLfdNr(std::int32_t) = 0;
    virtual void setObjektNr(std::int32_t) = 0;
    // condition: "plAuftragArtNr = n AND plAngelegenheitNr = m AND plAbrechnungsArt <> 9"
    virtual void Search(const QString& condition, bool all) = 0;
    virtual std::int32_t Read() = 0;  // number of records found
    virtual std::int32_t AuftragId() const = 0;
    virtual std::int32_t RechnungsVerweis() const = 0;
    virtual void Close() = 0;
};

}  // namespace orv::platform
