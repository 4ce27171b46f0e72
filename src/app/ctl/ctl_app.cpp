#include "app/ctl/ctl_app.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <string>
#include <vector>

#include "app/ctl/command_context.h"
#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "sim/sim_setup.h"

namespace qp40::ctl {
namespace {

void AddGlobalOptions(CLI::App& app, GlobalOptions& options,
                      std::vector<std::string>& fault_texts) {
  CLI::Option* simulate =
      app.add_option("--simulate", options.sim.images,
                     "Talk to the built-in virtual keypad instead of USB. With =IMAGE its memory "
                     "is read from that file (262144 bytes; the factory image when it does not "
                     "exist) and written back when the command ends. Repeat it for several "
                     "virtual keypads")
          ->type_size(0, 1)
          ->allow_extra_args(false)
          ->default_str("")
          ->type_name("[=IMAGE]");
  app.add_option("--sim-fault", fault_texts,
                 "With --simulate: make virtual keypad K (1 when not given) misbehave on the N-th "
                 "request (1-based, every try counts). KIND: drop, status, echo, late, gone, flip")
      ->delimiter(',')
      ->type_name("[K:]KIND@N[,...]")
      ->check(CLI::Validator(sim::CheckFault, ""))
      ->needs(simulate);
  app.add_option("--sim-latency", options.sim.latency_us,
                 "With --simulate: every reply of the virtual keypad takes this long")
      ->type_name("MICROSECONDS")
      ->check(CLI::Validator(sim::CheckLatency, ""))
      ->transform(DecimalNumber())
      ->needs(simulate);
  app.add_option("--device", options.device,
                 "The keypad to talk to when several are found: its number or identity as "
                 "'qp40ctl list' shows them, or its path")
      ->type_name("N|ID|PATH");
  app.add_flag("--log", options.log,
               "Copy every log line to stderr as it is written (text, six spaces, time)");
  app.parse_complete_callback([&options, &fault_texts, simulate] {
    options.sim.simulate = simulate->count() > 0;
    for (const std::string& text : fault_texts) {
      if (auto fault = sim::ParseFault(text)) options.sim.faults.push_back(*fault);
    }
    const std::string problem = sim::CheckSimKeypads(options.sim);
    if (!problem.empty()) throw CLI::ValidationError("--simulate", problem);
  });
}

}  // namespace

int RunCtl(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app{
      "qp40ctl: back up, restore, inspect and script the QP40 keypad from a terminal. The keypad "
      "must be in Management mode (hold its top-right key while plugging it in).",
      "qp40ctl"};
  app.set_version_flag("--version", "qp40ctl " QP40_VERSION);
  app.require_subcommand(1);
  // Options before the command may also follow it.
  app.fallthrough();

  GlobalOptions options;
  std::vector<std::string> fault_texts;
  AddGlobalOptions(app, options, fault_texts);

  CommandAction action;
  AddListCommand(app, action);
  AddInfoCommand(app, action);
  AddShowCommand(app, action);
  AddKeyCommands(app, action);
  AddBackupCommands(app, action);
  AddLayoutCommands(app, action);
  AddApplyCommand(app, action);
  AddHistoryCommands(app, action);
  AddMacroCommands(app, action);
  AddChordCommands(app, action);
  AddRenderCommand(app, action);
  AddDumpCommand(app, action);
  AddPowerCommands(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // Help and version end with 0; every other parse error is a usage error.
    return app.exit(error, out, err) == 0 ? kExitOk : kExitUsage;
  }
  if (!action) return kExitUsage;

  CommandContext context(options, out, err);
  try {
    return context.Finish(action(context));
  } catch (const std::exception& error) {
    err << "qp40ctl: " << error.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace qp40::ctl
