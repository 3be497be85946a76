#include "persistence/FaultInjector.h"

#include "persistence/driver/DriverError.h"

#include <utility>

namespace orv::db {

void FaultInjector::atStatement(int n, std::function<void()> hook) {
    hookCountdown_.store(0);
    hook_ = std::move(hook);
    hookCountdown_.store(n, std::memory_order_release);
}

void FaultInjector::failStatementsContaining(std::string text) {
    textFails_.store(false);
    failingText_ = std::move(text);
    textFails_.store(true, std::memory_order_release);
}

void FaultInjector::clear() {
    countdown_.store(0);
    hookCountdown_.store(0);
    textFails_.store(false);
}

void FaultInjector::beforeStatement(std::string_view backendName, std::string_view sql) {
    seen_.fetch_add(1, std::memory_order_relaxed);
    if (hookCountdown_.load(std::memory_order_acquire) > 0 && hookCountdown_.fetch_sub(1) == 1) {
        hook_();
    }
    if (textFails_.load(std::memory_order_acquire) &&
        sql.find(failingText_) != std::string_view::npos) {
        throwDriverError(backendName,
                         "Eingespeister Fehler: die Datenbank verweigert die Anweisung.", sql);
    }
    if (countdown_.load(std::memory_order_relaxed) <= 0) {
        return;
    }
    if (countdown_.fetch_sub(1) == 1) {
        throwDriverError(backendName,
                         "Eingespeister Fehler: die Datenbank verweigert die Anweisung.", sql);
    }
}

}  // namespace orv::db
