#pragma once

#include <QString>

namespace orv {

class CStoppUhren;

// While alive, the clock tick advances no stopwatch. The guard goes back on when it dies, on
// every path out, so a failing step can never leave the clock counting nothing.
class CountingPaused {
public:
    explicit CountingPaused(CStoppUhren& session);
    ~CountingPaused();
    CountingPaused(const CountingPaused&) = delete;
    CountingPaused& operator=(const CountingPaused&) = delete;

private:
    CStoppUhren& session_;
};

// The switches an employee makes, as the main window, the tray and every headless driver make
// them: the stopwatch that counts stops and the next one starts within one pause of counting.

// Starts the stopwatch of `key` ("p0" the idle one); with `neu` a new order, whose key comes
// back in `key`. False when the session refused the start.
bool stoppuhrWechseln(CStoppUhren& session, QString& key, bool neu = false);
// Stops the running productive order; the idle stopwatch counts on. False when none ran.
bool stoppuhrAnhalten(CStoppUhren& session);
// Ends the order's stopwatch; true when that changed something.
bool stoppuhrBeenden(CStoppUhren& session, const QString& key);

}  // namespace orv
