#pragma once

#include <cstdint>

namespace orv {

// The status of orders and time entries, also stored in the Status column.
enum AuftragStatiEnum : std::int32_t {
    AuftragStatus_InAktiv = 0,
    AuftragStatus_Aktiv = 1,
    AuftragStatus_Beendet = 2,
    AuftragStatus_Gebucht = 3,
    AuftragStatus_Geloescht = 4,
};

// How a time entry came about.
enum LeistungArtEnum : std::int32_t {
    LeistungArt_Automatisch = 0,
    LeistungArt_Manuell = 1,
    LeistungArt_Automatisch_Manuell = 2,
};

// The outcome of an edit dialog.
enum BearbeitungStati_Enum : std::int32_t {
    BearbeitungStati_Abbruch = 0,
    BearbeitungStati_Geaendert = 1,
    BearbeitungStati_Geloescht = 2,
};

}  // namespace orv
