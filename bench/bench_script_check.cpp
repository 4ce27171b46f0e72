// The macro editor's live check: the compiler run on the whole pane text, without the log, as
// it runs on every keystroke. A full 255-line script (254 commands and the empty last line)
// of the commands users write most.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/script_compiler.h"
#include "macros/script_reader.h"

namespace {

// The help text's examples and a few recorded lines, repeated.
constexpr std::array<std::string_view, 8> kTypicalLines = {
    "press a  b  c  20",
    "press M_Left -20 -30 100",
    "release         a    32  ",
    "click Enter 40",
    "delay 200",
    "string 04 30",
    "press         Shift    148  ",
    "jump 01 20",
};

std::string FullScript() {
  std::string script;
  for (std::size_t line = 0; line < qp40::kMaxCommandLine; ++line) {
    script += kTypicalLines[line % kTypicalLines.size()];
    script += "\r\n";
  }
  // Line 255 is the empty text after the last break.
  return script;
}

void BM_CheckFullScript(benchmark::State& state) {
  const std::string script = FullScript();
  if (qp40::CompileScript(script, 5).status != qp40::CompileStatus::kCompiled) {
    state.SkipWithError("the script does not compile");
    return;
  }
  for (auto _ : state) {
    qp40::CompileResult result = qp40::CompileScript(script, 5);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(qp40::kMaxScriptLines));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(BM_CheckFullScript)->Unit(benchmark::kMicrosecond);

}  // namespace
