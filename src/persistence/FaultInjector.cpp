#include "persistence/FaultInjector.h"

#include "persistence/driver/DriverError.h"

namespace orv::db {

void FaultInjector::beforeStatement(std::string_view backendName, std::string_view sql) {
    seen_.fetch_add(1, std::memory_order_relaxed);
    if (countdown_.load(std::memory_order_relaxed) <= 0) {
        return;
    }
    if (countdown_.fetch_sub(1) == 1) {
        throwDriverError(backendName,
                         "Eingespeister Fehler: die Datenbank verweigert die Anweisung.", sql);
    }
}

}  // namespace orv::db
