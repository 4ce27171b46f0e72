#include <memory>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"

namespace qp40::ctl {
namespace {

int RunReboot(CommandContext& context) {
  KeypadSession* session = context.Keypad();
  if (session == nullptr) return context.AttachStatus();
  return session->CloseAndReboot() == SessionStatus::kDone ? kExitOk : kExitFailed;
}

int RunFactoryReset(CommandContext& context, bool confirmed) {
  if (!confirmed) {
    context.Err() << "qp40ctl: factory-reset restores the keypad's factory settings and DELETES "
                     "all user data on it: the four user profiles, the board settings, the "
                     "macros, the strings and the burst texts. Nothing was sent. Run "
                     "'qp40ctl factory-reset --yes' to do it; 'qp40ctl backup FILE' first keeps "
                     "a copy of the configuration.\n";
    return kExitUsage;
  }
  KeypadSession* session = context.Keypad();
  if (session == nullptr) return context.AttachStatus();
  const SessionStatus restored = session->RestoreFactorySettings();
  if (restored != SessionStatus::kDone) {
    context.Err() << "qp40ctl: the factory restore did not go through: " << StatusText(restored)
                  << "\n";
    return kExitFailed;
  }
  return session->CloseAndReboot() == SessionStatus::kDone ? kExitOk : kExitFailed;
}

}  // namespace

void AddPowerCommands(CLI::App& app, CommandAction& action) {
  CLI::App* reboot =
      app.add_subcommand("reboot", "Reboot the keypad, which ends its Management mode");
  reboot->callback([&action] { action = RunReboot; });

  auto confirmed = std::make_shared<bool>(false);
  CLI::App* reset = app.add_subcommand(
      "factory-reset",
      "Restore the keypad's factory settings, erasing all user data, then reboot it");
  reset->add_flag("--yes", *confirmed, "Confirm that all user data on the keypad is erased");
  reset->callback([confirmed, &action] {
    action = [confirmed](CommandContext& context) { return RunFactoryReset(context, *confirmed); };
  });
}

}  // namespace qp40::ctl
