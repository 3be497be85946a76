#pragma once

#include "platform/Timer.h"
#include "platform/TraceLogger.h"
#include "platform/Windows.h"

#include <cstdint>

// The parts of a platform that the benchmarks and the load tool keep silent: they drive the
// session's clock themselves and look at no window.
namespace orv::bench {

class NullTrace final : public platform::TraceLogger {
public:
    void Write(std::int32_t, const QString&, const QString&) override {}
    bool Enabled() const override { return false; }
};

// Ticks only when the caller runs the session's TimerTick itself.
class StillTimer final : public platform::TimerObject {
public:
    void take(platform::TimerNotify*) override {}
    void start() override {}
    void stop() override {}
    void finish() override {}
};

class QuietMainWindow final : public platform::FrmStoppUhr {
public:
    void Anzeigen(CStoppUhren&) override {}
    void AktualisiereZeiten() override {}
    void Schliessen() override {}
    bool IstZuOberst() const override { return true; }
    void NachVorn() override {}
};

}  // namespace orv::bench
