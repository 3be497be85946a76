#pragma once

#include <QDateTime>

#include <cstdint>

namespace orv {
class CAuftrag;
class cLeistung;
class CStoppUhren;
}  // namespace orv

namespace orv::platform {

// The component's windows as the session reaches them. Qt implements them; tests answer
// like a user would. Dialogs are modal: they return when the user closes them, while clock
// ticks keep arriving.

// The main window with the stopwatches; lives from the session's start to its end.
class FrmStoppUhr {
public:
    virtual ~FrmStoppUhr() = default;
    virtual void Anzeigen(CStoppUhren& session) = 0;
    virtual void AktualisiereZeiten() = 0;
    virtual void Schliessen() = 0;
    // Whether the window is the top-level window at the top of the Z order.
    virtual bool IstZuOberst() const = 0;
    // Brings the window in front of every other window, also of other programs.
    virtual void NachVorn() = 0;
};

// Editing one time entry; also the day closing with the idle entry.
class FrmLeistung {
public:
    virtual ~FrmLeistung() = default;
    virtual void setModus(std::int32_t modus) = 0;
    virtual std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds,
                                          std::int32_t& auftragId, bool unproduktiv) = 0;
    virtual void AktualisiereZeiten() = 0;
    virtual bool AuftragGeaendert() const = 0;
};

// Moving time between provisional entries and from idle time onto entries.
class FrmLeistungUmbuchen {
public:
    virtual ~FrmLeistungUmbuchen() = default;
    virtual std::int32_t LeistungUmbuchen(cLeistung& entry) = 0;
    virtual std::int32_t LeerlaufUmbuchen(cLeistung& idleEntry) = 0;
};

// Runs while the employee takes a break; returns the pause length in seconds.
class FrmPause {
public:
    virtual ~FrmPause() = default;
    virtual void Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) = 0;
};

// A period worked outside the component today; 1 when confirmed, 2 when cancelled.
class FrmExterneZeit {
public:
    virtual ~FrmExterneZeit() = default;
    virtual std::int32_t ExterneZeitErfassen(CStoppUhren& session, std::int32_t& seconds,
                                             QDateTime& von, QDateTime& bis) = 0;
};

// The order on which idle time is booked at day closing; 1 when confirmed.
class FrmEigenschaften {
public:
    virtual ~FrmEigenschaften() = default;
    virtual std::int32_t Eigenschaftenanzeigen(CAuftrag& order) = 0;
};

}  // namespace orv::platform
