#include <memory>
#include <string>

#include "app/ctl/backup_input.h"
#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/grid_text.h"
#include "app/ctl/keypad_load.h"
#include "model/backup_file.h"

namespace qp40::ctl {
namespace {

struct ShowOptions {
  int profile = 1;
  bool tsv = false;
  bool records = false;
  std::string backup;
  bool offline = false;  // BACKUP was given, even as an empty name
};

int RunShow(CommandContext& context, const ShowOptions& options) {
  Configuration config;
  int status = kExitOk;
  if (options.offline) {
    if (!LoadBackupOffline(context, options.backup, config)) return kExitFailed;
    if (config.loaded_backup_type == kBackupWorkingProfile && options.profile != 1) {
      context.Err() << "qp40ctl: " << options.backup
                    << ": holds the keys of one profile only; it shows as profile 1\n";
      return kExitFailed;
    }
  } else {
    LoadResult load;
    const KeypadSession* session = AttachAndLoad(context, load);
    if (session == nullptr) return context.AttachStatus();
    if (load.status != SessionStatus::kDone) status = kExitFailed;
    config = session->Config();
  }
  // The profile in the working copy is read from there, not from the profile image, so a
  // one-profile backup shows the keys it put into the working copy.
  const auto profile = static_cast<std::uint8_t>(options.profile - 1);
  const GridFormat format = options.records ? GridFormat::kRecords
                            : options.tsv   ? GridFormat::kTsv
                                            : GridFormat::kTable;
  context.Out() << GridText(config, profile, format);
  return status;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandAction& action) {
  auto options = std::make_shared<ShowOptions>();
  CLI::App* show = app.add_subcommand(
      "show", "Print the key grid of a profile, from the keypad or from a backup file");
  show->add_option("--profile", options->profile, "User profile 1-4 (default 1)")
      ->transform(DecimalNumber())
      ->check(CLI::Range(1, 4));
  CLI::Option* tsv = show->add_flag("--tsv", options->tsv, "6 lines of 8 labels separated by tabs");
  CLI::Option* records =
      show->add_flag("--records", options->records,
                     "6 lines of 8 records (8 lower-case hex digits) separated by tabs");
  tsv->excludes(records);
  CLI::Option* backup =
      show->add_option("BACKUP", options->backup, "Backup file to show instead of the keypad");
  show->callback([options, backup, &action] {
    options->offline = backup->count() > 0;
    action = [options](CommandContext& context) { return RunShow(context, *options); };
  });
}

}  // namespace qp40::ctl
