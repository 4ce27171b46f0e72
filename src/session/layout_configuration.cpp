#include "session/layout_configuration.h"

#include <string_view>

#include "log/clock.h"
#include "log/log.h"
#include "log/notifier.h"
#include "macros/macro_listing.h"
#include "session/keypad_session.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40 {
namespace {

// The in-memory keypad's log and messages go nowhere: what matters comes back as problems.
class Quiet final : public Notifier, public LogSink {
 public:
  void ShowMessage(std::string_view /*text*/) override {}
  void OnLineAppended(std::string_view /*line*/, const std::string& /*whole_log*/) override {}
};

}  // namespace

LayoutConfiguration ConfigurationOfLayout(const Layout& layout) {
  LayoutConfiguration result;
  sim::VirtualKeypad keypad(kFirmwareNewStrings);
  sim::SimTransport transport(keypad);
  const SystemClock clock;
  Quiet quiet;
  Log log(clock, quiet);
  log.SetSink(&quiet);
  KeypadSession session(transport, log, quiet);
  if (session.Attach().status != SessionStatus::kDone ||
      session.Load().status != SessionStatus::kDone) {
    result.problems.emplace_back("the configuration could not be set up");
    return result;
  }
  LayoutImportScope scope;
  scope.chords = false;
  const LayoutImportResult imported = session.ImportLayout(layout, scope);
  if (imported.status != SessionStatus::kDone) {
    result.problems = imported.problems;
    return result;
  }
  result.config = session.Config();
  return result;
}

std::map<int, std::optional<std::string>> LayoutMacroScripts(const Layout& layout) {
  std::map<int, std::optional<std::string>> scripts;
  for (const auto& [number, macro] : layout.macros) {
    if (macro.buffer) {
      scripts[number] = ListMacro(*macro.buffer);
      continue;
    }
    std::string script;
    for (const std::string& line : macro.lines) {
      script += line;
      script += "\r\n";
    }
    scripts[number] = std::move(script);
  }
  return scripts;
}

}  // namespace qp40
