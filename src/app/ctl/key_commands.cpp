#include <memory>
#include <string>

#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "keys/key_action.h"
#include "keys/key_text.h"
#include "model/profile_ops.h"

namespace qp40::ctl {
namespace {

// The usage error for a VALUE of `key set`, or empty when it is valid.
std::string CheckKeyValue(const std::string& value) {
  if (ParseKeyText(value)) return {};
  return "'" + value + "' is neither a record of 8 hex digits nor a key word";
}

struct KeySetOptions {
  int profile = 1;
  int row = 0;
  int column = 0;
  std::string value;
};

int RunKeySet(CommandContext& context, const KeySetOptions& options) {
  const auto record = ParseKeyText(options.value);
  if (!record) return kExitUsage;  // the command line has checked it already

  Configuration config;
  int failed_pages = 0;
  KeypadLink* link = AttachAndLoad(context, config, failed_pages);
  if (link == nullptr) return context.AttachStatus();
  if (RefuseAfterFailedLoad(context, failed_pages, "the key is not set")) return kExitFailed;

  SelectProfile(config, static_cast<std::uint8_t>(options.profile - 1), context.Refresher());
  const auto position =
      static_cast<std::size_t>((options.row - 1) * kGridColumnCount + (options.column - 1));
  SetWorkingRecord(config.working_profile, position, *record);
  context.GetLog().AppendLog(KeyActionLogLine(options.row, options.column, *record));

  config.profile_block_number = ProfileBlockForBackupType(config.loaded_backup_type);
  const TransferReport saved = SaveConfiguration(config, *link, context.GetLog());
  return saved.failed_pages == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddKeyCommands(CLI::App& app, CommandAction& action) {
  CLI::App* key = app.add_subcommand("key", "Change keys on the keypad");
  key->require_subcommand(1);

  auto options = std::make_shared<KeySetOptions>();
  CLI::App* set = key->add_subcommand(
      "set", "Load, set the record of one key, save: VALUE is 8 hex digits or a key word");
  set->add_option("--profile", options->profile, "User profile 1-4 (default 1)")
      ->transform(DecimalNumber())
      ->check(CLI::Range(1, 4));
  set->add_option("ROW", options->row, "Row 1-6")
      ->required()
      ->transform(DecimalNumber())
      ->check(CLI::Range(1, 6));
  set->add_option("COL", options->column, "Column 1-8")
      ->required()
      ->transform(DecimalNumber())
      ->check(CLI::Range(1, 8));
  set->add_option("VALUE", options->value, "Record such as 80040000, or a key word such as Enter")
      ->required()
      ->check(CLI::Validator(CheckKeyValue, ""));
  set->callback([options, &action] {
    action = [options](CommandContext& context) { return RunKeySet(context, *options); };
  });
}

}  // namespace qp40::ctl
