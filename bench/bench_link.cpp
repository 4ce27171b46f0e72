// The link's own cost per exchange and per block read, against the virtual keypad through the
// in-process transport (no latency): what remains once the USB round trip is taken away.
#include <benchmark/benchmark.h>

#include "sim_rig.h"

namespace {

using Bench = qp40::bench::SimRig;

void BM_Exchange(benchmark::State& state) {
  Bench bench;
  qp40::ConfigReport& request = bench.link.Request();
  request[qp40::kCommandByte] = qp40::kCmdReadPage;
  request[qp40::kArgumentByte] = 0x1C;
  request[qp40::kPageIndexByte] = 7;
  request[qp40::kPageFieldByte] = qp40::kLastPageField;
  for (auto _ : state) {
    if (!bench.link.ExchangeReport()) {
      state.SkipWithError("exchange failed");
      break;
    }
    benchmark::DoNotOptimize(bench.link.Reply());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Exchange);

void BM_ReadBlock(benchmark::State& state) {
  Bench bench;
  qp40::Block block{};
  for (auto _ : state) {
    if (bench.link.ReadBlock(0x1C, block) != 0) {
      state.SkipWithError("a page failed");
      break;
    }
    benchmark::DoNotOptimize(block);
  }
  const auto exchanges = static_cast<double>(state.iterations() * qp40::kPagesPerBlock);
  state.SetItemsProcessed(static_cast<std::int64_t>(exchanges));
  state.counters["time_per_exchange"] =
      benchmark::Counter(exchanges, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadBlock);

}  // namespace
