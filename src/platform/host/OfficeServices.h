#pragma once

#include "persistence/DbValue.h"

#include <QString>

#include <cstdint>

namespace orv::platform {

// The office's global values, each a truth value by number (31: services may be recorded on
// invoiced orders).
class GlobaleWerte {
public:
    virtual ~GlobaleWerte() = default;
    virtual bool Wert(std::int32_t number) = 0;
};

// Records the employee's attendance: absent from the start of a pause (true) until its end
// (false).
class AnwesenheitsObjekt {
public:
    virtual ~AnwesenheitsObjekt() = default;
    virtual void Abwesenheit(std::int32_t art, std::int32_t mitarbeiterNr, const QString& text,
                             bool beginn) = 0;
};

// The follow-up of a booking for an order; may change the truth value.
class BuchungsNachlauf {
public:
    virtual ~BuchungsNachlauf() = default;
    virtual void AuftragNachlauf(std::int32_t& auftragId, bool& flag) = 0;
};

// The office's service component: one figure per order, read before and after a booking.
class CQeLeistung {
public:
    virtual ~CQeLeistung() = default;
    virtual db::Currency Kennzahl(std::int32_t auftragId) = 0;
};

// Tells the office that an order's figure changed from or to zero.
class AuftragBenachrichtigung {
public:
    virtual ~AuftragBenachrichtigung() = default;
    virtual void setMitarbeiter(std::int32_t mitarbeiterId) = 0;
    virtual void Auftrag(std::int32_t auftragId, std::int32_t art) = 0;
};

// Classifies matter codes of property assessment.
class CQeGgwBasis {
public:
    virtual ~CQeGgwBasis() = default;
    virtual bool IsVuV(const QString& kenner) = 0;
    virtual bool IsBewertung(const QString& kenner) = 0;
    virtual bool IsSchenkung(const QString& kenner) = 0;
    virtual bool IsErbschaft(const QString& kenner) = 0;
    virtual bool IsGrundsteuer(const QString& kenner) = 0;
};

// The office's pictures by number: 1000 the window icon, the others 16 x 16 tool icons. The
// answer is a file or resource path a window loads; empty when the office has no such icon.
class IconService {
public:
    virtual ~IconService() = default;
    virtual QString Icon(std::int32_t number) = 0;
};

}  // namespace orv::platform
