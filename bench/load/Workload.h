#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace orv {
class CAuftrag;
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::load {

// What the employee means to answer in the dialog the next command opens. The load tool's
// platform and the crash test's scripted windows both take these answers.
class WorkloadDesk {
public:
    virtual ~WorkloadDesk() = default;
    // The edit window: BearbeitungStati_Enum, the seconds and the office order it hands back.
    virtual void nextEdit(std::int32_t status, std::int32_t seconds, std::int32_t auftragId) = 0;
    // The rebooking window: that many seconds onto the entry, or onto the idle time (nullptr).
    virtual void nextRebooking(cLeistung* target, std::int32_t amount) = 0;
    // The pause dialog: the employee is away that long.
    virtual void nextPause(std::int32_t seconds) = 0;
};

// The commands an employee gives at the stopwatch window, on orders and entries drawn at random,
// issued as the main window issues them. Shared by the office load tool and the crash test, so
// that both drive the session the same way. Each command returns whether there was something to
// do; errors of the session pass through to the caller, which reports them as the window would.
class Workload {
public:
    // Entries the employee keeps, moves or creates hold at least a minute, and the idle time
    // keeps a minute too: a service below 36 seconds is booked as the minimum of 0,01 hours,
    // which a check of the booked time can only bound.
    static constexpr std::int32_t kMinEntry = 60;

    Workload(CStoppUhren& session, WorkloadDesk& desk, std::mt19937_64& random,
             std::vector<std::int32_t> officeOrders);

    // An entry released for booking, just before it is booked.
    void onRelease(std::function<void(const CAuftrag&, cLeistung&)> released) {
        released_ = std::move(released);
    }

    // Another order's stopwatch: a new order when few are open, else one of the open ones.
    // Sets created to whether it was a new one.
    void switchOrder(bool& created);
    void switchTo(const QString& key);
    void newOrder();
    bool stop();
    bool finish();
    bool edit();
    bool rebookTime();
    // A few stopped entries, or all of them, booked one by one or summed.
    bool book(bool everything, bool summed);
    bool deleteEntry();
    bool manualEntry();
    void pause(std::int32_t seconds);

    std::vector<std::shared_ptr<CAuftrag>> openOrders() const;
    int uniform(int low, int high);

private:
    struct Entry {
        std::shared_ptr<CAuftrag> order;
        std::shared_ptr<cLeistung> entry;
    };
    // Stopped entries of productive orders with an office order that still wait for booking.
    std::vector<Entry> stoppedEntries(std::int32_t minSeconds) const;
    const Entry& pick(const std::vector<Entry>& entries);
    std::int32_t idleSeconds() const;
    std::int32_t randomOrder();

    CStoppUhren& session_;
    WorkloadDesk& desk_;
    std::mt19937_64& random_;
    std::vector<std::int32_t> officeOrders_;
    std::function<void(const CAuftrag&, cLeistung&)> released_;
};

}  // namespace orv::load
