#pragma once

#include <string_view>

namespace orv::db {

// A refusal of the database becomes the component's error, with the driver's message and the
// statement in its description.
[[noreturn]] void throwDriverError(std::string_view backendName, std::string_view message,
                                   std::string_view sql, bool retryable = false);

}  // namespace orv::db
