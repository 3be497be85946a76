#pragma once

#include <cstdint>

namespace orv {

class CStoppUhren;

// The two ways an employee picks an office order for an order or an entry: the order browser,
// showing the client of the order (or else the host's current client), and the order display
// dialog opened on the current order. Both answer the chosen order id, or 0 when nothing was
// chosen.
std::int32_t pickOrderInBrowser(CStoppUhren& session, std::int32_t auftragMandantNr);
std::int32_t pickOrderInDisplay(CStoppUhren& session, std::int32_t auftragId);

// Hands a picked order id on when there is one; true when it did.
template <typename Apply>
bool applyPickedOrder(std::int32_t auftragId, Apply&& apply) {
    if (auftragId <= 0) {
        return false;
    }
    apply(auftragId);
    return true;
}

}  // namespace orv
