#include "FakePlatform.h"

namespace orv::test {
namespace {

// What the component receives in place of the timer: the test still reads the timer after the
// component released it.
class TimerHandle final : public platform::TimerObject {
public:
    explicit TimerHandle(ManualTimer& timer) : timer_(timer) {}
    void take(platform::TimerNotify* notify) override { timer_.take(notify); }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    void finish() override { timer_.finish(); }

private:
    ManualTimer& timer_;
};

}  // namespace

FakePlatform::FakePlatform(db::Database& database, Tracing tracing)
    : OfficePlatformFactory(database),
      trace_(std::make_shared<RecordingTraceLogger>(tracing == Tracing::On)) {}

FakePlatform::~FakePlatform() = default;

std::unique_ptr<platform::TimerObject> FakePlatform::newTimer() {
    timers_.push_back(std::make_unique<ManualTimer>());
    return std::make_unique<TimerHandle>(*timers_.back());
}

}  // namespace orv::test
