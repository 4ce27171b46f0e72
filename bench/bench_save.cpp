// What a save costs at a bus round trip of 1 ms (--sim-latency=1000): after one key edit, the
// keypad session writes the profile block alone and reads it back (129 exchanges); a full save
// writes all five blocks and reads them back (645 exchanges). Both run in the same program, so
// their ratio holds on a busy machine. The counter blocks_written says what each save wrote.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "keys/key_action.h"
#include "session/keypad_session.h"
#include "sim_rig.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kRoundTripUs = 1000;

void BM_SaveAfterOneKeyEdit(benchmark::State& state) {
  const auto mode = state.range(0) == 0 ? qp40::SaveMode::kChangedBlocks : qp40::SaveMode::kFull;
  qp40::bench::SimRig rig;
  qp40::KeypadSession session(rig.transport, rig.log, rig.notifier);
  if (session.Attach().status != qp40::SessionStatus::kDone ||
      session.Load().status != qp40::SessionStatus::kDone) {
    state.SkipWithError("the virtual keypad was not loaded");
    return;
  }
  rig.keypad.SetLatencyMicroseconds(kRoundTripUs);
  // Each round edits key 11 to one of two keys in turn, so every save has an edit to write.
  const qp40::KeyActionRecord keys[] = {{qp40::kActionKey, 0x28, 0, 0},
                                        {qp40::kActionKey, 0x2B, 0, 0}};
  std::size_t next = 0;
  std::size_t blocks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const qp40::KeyEditResult edited =
        session.ApplyKeyEdit(0, qp40::KeyEdit{keys[next++ % 2], std::nullopt});
    state.ResumeTiming();
    const qp40::SaveResult saved = session.Save(mode);
    if (edited.status != qp40::SessionStatus::kDone || saved.status != qp40::SessionStatus::kDone) {
      state.SkipWithError("the save did not go through");
      break;
    }
    blocks = saved.blocks_written.size();
  }
  state.counters["blocks_written"] = static_cast<double>(blocks);
}
// 0: the blocks that changed; 1: all five ("qp40ctl restore --full", "Save writes all blocks").
BENCHMARK(BM_SaveAfterOneKeyEdit)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace
