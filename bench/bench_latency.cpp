// How truthful --sim-latency is: a whole configuration load (321 exchanges) on a virtual keypad
// whose every reply takes one bus round trip, against 321 round trips back to back. The ratio
// counter is the load's time over that ideal; the keypad's latency is honest when it stays
// within 1.02. BM_SleepForRoundTrips shows what one sleep_for per round trip would cost instead.
// On a machine shared with other work, run it as `chrt -f 10 build/bench/bench_latency` (root)
// so the scheduler's load does not count as the keypad's lateness.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

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
  // Page exchanges end back to back, so the gaps between them are single exchanges; their
  // median shows the keypad's own accuracy, apart from the odd long stall of a busy machine.
  std::vector<Clock::time_point> page_ends;
  rig.link.SetPageObserver([&page_ends] { page_ends.push_back(Clock::now()); });
  std::vector<double> exchange_us;
  Clock::duration elapsed{};
  std::uint64_t exchanges = 0;
  for (auto _ : state) {
    page_ends.clear();
    qp40::Configuration config;
    const std::uint64_t requests_before = rig.keypad.RequestCount();
    const Clock::time_point start = Clock::now();
    const qp40::TransferReport report =
        qp40::LoadConfiguration(config, rig.link, rig.log, refresher);
    elapsed += Clock::now() - start;
    exchanges += rig.keypad.RequestCount() - requests_before;
    for (std::size_t i = 1; i < page_ends.size(); ++i) {
      exchange_us.push_back(
          std::chrono::duration<double, std::micro>(page_ends[i] - page_ends[i - 1]).count());
    }
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
  if (!exchange_us.empty()) {
    const auto middle = exchange_us.begin() + static_cast<std::ptrdiff_t>(exchange_us.size() / 2);
    std::nth_element(exchange_us.begin(), middle, exchange_us.end());
    state.counters["median_exchange_us"] = *middle;
  }
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
