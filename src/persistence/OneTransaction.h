#pragma once

#include "persistence/Database.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <chrono>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>

namespace orv::db {

// Runs work so that the database sees its statements as one: all of them, or none when a
// statement fails or the process dies on the way. Work started inside such a unit joins it: a
// failure inside ends the outer unit too, so an inner savepoint would have nothing to keep.
template <typename Work>
decltype(auto) inOneTransaction(Database& database, Work&& work) {
    const std::shared_ptr<Connection> connection = database.connection();
    if (connection->transactionDepth() > 0) {
        return std::forward<Work>(work)();
    }
    Transaction transaction(*connection);
    if constexpr (std::is_void_v<std::invoke_result_t<Work>>) {
        std::forward<Work>(work)();
        transaction.commit();
    } else {
        auto result = std::forward<Work>(work)();
        transaction.commit();
        return result;
    }
}

// Like inOneTransaction; a unit that owns its transaction is done again when the database gave
// it up to break a deadlock or a conflict between two writers, five attempts in all, each after
// a longer pause in which the other writer can finish. After every failure undo() puts back
// what the work changed outside the database.
template <typename Work, typename Undo>
decltype(auto) inOneTransactionRetrying(Database& database, Work&& work, Undo&& undo) {
    constexpr int kAttempts = 5;
    const bool ownsTransaction = database.connection()->transactionDepth() == 0;
    for (int attempt = 1;; ++attempt) {
        try {
            return inOneTransaction(database, work);
        } catch (const OrvError& error) {
            undo();
            if (!ownsTransaction || !error.retryable() || attempt == kAttempts) {
                throw;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25 << attempt));
        } catch (...) {
            undo();
            throw;
        }
    }
}

}  // namespace orv::db
