#pragma once

#include "ORVkStoppUhren/Enums.h"
#include "ORVkStoppUhren/Export.h"

#include <cstdint>
#include <memory>

namespace orv::platform {
class PlatformFactory;
}

namespace orv {

// The stopwatches of one employee, as the host office application sees them. Create one per
// session, optionally tell it the current client or office, call Starten, let it run, call
// Beenden (again later while it returns false), then release it.
//
// A property with a get and a let is one name: Mandant() reads it, Mandant(id) sets it.
class ORV_EXPORT _CStoppUhren {
public:
    virtual ~_CStoppUhren();

    virtual void Anzeigen() = 0;
    virtual void Ausblenden() = 0;
    // Opens the employee's session for the day; true on success. A failure is reported to the
    // user and never reaches the host.
    virtual bool Starten(std::int32_t& lMitarbeiter) = 0;
    // Ends the session; true when it ended, false when it goes on.
    virtual bool Beenden() = 0;
    virtual std::int32_t Mandant() const = 0;
    virtual void Mandant(std::int32_t id) = 0;
    virtual std::int32_t Kanzlei() const = 0;
    virtual void Kanzlei(std::int32_t id) = 0;
    virtual std::int32_t MitarbeiterId() const = 0;
    virtual bool LeistungenAufFakturierteAuftraege() const = 0;
    virtual void LeistungenAufFakturierteAuftraege(bool allowed) = 0;
    virtual bool IndustrieZeit() const = 0;
    virtual void IndustrieZeit(bool on) = 0;
    virtual std::int32_t MandantNr() const = 0;
    virtual std::int32_t KanzleiNr() const = 0;
    // Sets the client or the office with its number, without looking anything up.
    virtual void gSetPsIdAndNumber(bool bKanzlei, std::int32_t lIDPerson, std::int32_t lManNr) = 0;
};

}  // namespace orv

// Creates the component for a host; the platform must outlive it.
extern "C" ORV_EXPORT orv::_CStoppUhren* ORVkStoppUhren_Create(
    orv::platform::PlatformFactory* platform);

namespace orv {

inline std::unique_ptr<_CStoppUhren> CreateStoppUhren(platform::PlatformFactory& platform) {
    return std::unique_ptr<_CStoppUhren>(ORVkStoppUhren_Create(&platform));
}

}  // namespace orv
