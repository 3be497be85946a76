#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

namespace orv::db {

// Lets tests make the database refuse a statement, to show what stays written and what the
// user is told when it fails in the middle of an operation.
class FaultInjector {
public:
    // The n-th statement from now on (1 = the next one) fails as if the database refused it.
    void failStatement(int n) { countdown_.store(n); }
    // The hook runs before the n-th statement from now on (1 = the next one), once; a test
    // stops the process there to see what a crash between two statements leaves behind.
    void atStatement(int n, std::function<void()> hook);
    // Every statement whose text contains this one fails, until clear(): one kind of statement
    // refused wherever it comes in a step. Set it while no other thread runs statements.
    void failStatementsContaining(std::string text);
    void clear();
    int statementsSeen() const { return seen_.load(); }

    // Called by the drivers before every statement; raises the injected failure when due.
    void beforeStatement(std::string_view backendName, std::string_view sql);

private:
    std::atomic<int> countdown_{0};
    std::atomic<int> seen_{0};
    std::atomic<int> hookCountdown_{0};
    std::function<void()> hook_;  // set before its countdown starts
    std::atomic<bool> textFails_{false};
    std::string failingText_;  // set before textFails_
};

}  // namespace orv::db
