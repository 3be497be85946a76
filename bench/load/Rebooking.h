#pragma once

#include <cstdint>

namespace orv {
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::load {

// What the rebooking dialog does when the employee confirms an amount: the amount leaves the
// source entry and its order and joins the target entry and its order (nullptr: the idle
// time), both sides are saved, the productive total follows, and a source left without time is
// deleted. fromIdle: the dialog was opened on the idle time. Returns the dialog's result: 1
// rebooked, 2 the source was deleted.
std::int32_t rebook(CStoppUhren& session, cLeistung& source, cLeistung* target, std::int32_t amount,
                    bool fromIdle);

}  // namespace orv::load
