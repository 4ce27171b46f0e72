// The link's own cost per exchange and per block read, against the virtual keypad through the
// in-process transport (no latency): what remains once the USB round trip is taken away.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "link/keypad_link.h"
#include "log/clock.h"
#include "log/log.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace {

class SilentNotifier final : public qp40::Notifier {
 public:
  void ShowMessage(std::string_view /*text*/) override {}
};

class DiscardingSink final : public qp40::LogSink {
 public:
  void OnLineAppended(std::string_view /*line*/, const std::string& /*whole_log*/) override {}
};

// One attached link on a virtual keypad, as the tool runs with --simulate.
struct Bench {
  Bench() {
    keypad.SetRecordRequests(false);
    log.SetSink(&sink);
    link.AttachKeypad();
  }
  qp40::sim::VirtualKeypad keypad;
  qp40::sim::SimTransport transport{keypad};
  qp40::SystemClock clock;
  SilentNotifier notifier;
  DiscardingSink sink;
  qp40::Log log{clock, notifier};
  qp40::KeypadLink link{transport, log, notifier};
};

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
