// How truthful --sim-latency is: a whole configuration load (321 exchanges) on a virtual keypad
// whose every reply takes one bus round trip, against 321 round trips back to back. The ratio
// counter is the load's time over that ideal; the keypad's latency is honest when it stays
// within 1.02. BM_SleepForRoundTrips shows what one sleep_for per round trip would cost instead.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "model/configuration.h"
#include "model/profile_ops.h"
#include "sim_rig.h"

namespace {

using Clock = std::chrono::steady_clock;

// What one load exchanges: five blocks of 64 pages and the identity.
constexpr std::uint64_t kLoadExchanges = 5 * qp40::kPagesPerBlock + 1;

void ReportRatio(benchmark::State& state, Clock::duration elapsed, std::uint64_t round_trips,
                 std::chrono::microseconds round_trip) {
  const double ideal_us =
      static_cast<double>(round_trips) * static_cast<double>(round_trip.count());
  const double actual_us = std::chrono::duration<double, std::micro>(elapsed).count();
  state.counters["ideal_ms"] = ideal_us / 1000.0 / static_cast<double>(state.iterations());
  state.counters["ratio"] = actual_us / ideal_us;
  state.counters["overshoot_us"] = (actual_us - ideal_us) / static_cast<double>(round_trips);
}

void BM_LoadAtLatency(benchmark::State& state) {
  const auto latency = static_cast<std::uint32_t>(state.range(0));
  qp40::bench::SimRig rig;
  rig.keypad.SetLatencyMicroseconds(latency);
  qp40::bench::NoRefresh refresher;
  if (!rig.attached) {
    state.SkipWithError("the virtual keypad did not attach");
    return;
  }
  Clock::duration elapsed{};
  std::uint64_t exchanges = 0;
  for (auto _ : state) {
    qp40::Configuration config;
    const std::uint64_t requests_before = rig.keypad.RequestCount();
    const Clock::time_point start = Clock::now();
    const qp40::TransferReport report =
        qp40::LoadConfiguration(config, rig.link, rig.log, refresher);
    elapsed += Clock::now() - start;
    exchanges += rig.keypad.RequestCount() - requests_before;
    if (report.failed_pages != 0) {
      state.SkipWithError("a page failed");
      return;
    }
    benchmark::DoNotOptimize(config);
  }
  if (exchanges != kLoadExchanges * state.iterations()) {
    state.SkipWithError("a load did not take 321 exchanges");
    return;
  }
  ReportRatio(state, elapsed, exchanges, std::chrono::microseconds(latency));
}
BENCHMARK(BM_LoadAtLatency)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SleepForRoundTrips(benchmark::State& state) {
  const std::chrono::microseconds round_trip(state.range(0));
  Clock::duration elapsed{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    for (std::uint64_t i = 0; i < kLoadExchanges; ++i) std::this_thread::sleep_for(round_trip);
    elapsed += Clock::now() - start;
  }
  ReportRatio(state, elapsed, kLoadExchanges * state.iterations(), round_trip);
}
BENCHMARK(BM_SleepForRoundTrips)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
