#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/ctl/backup_input.h"
#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "files/utf8_path.h"
#include "model/backup_file.h"
#include "model/profile_ops.h"

namespace qp40::ctl {
namespace {

struct BackupOptions {
  std::string file;
};

struct RestoreOptions {
  bool verify = false;
  bool full = false;
  std::string file;
};

int RunBackup(CommandContext& context, const BackupOptions& options) {
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  if (RefuseAfterFailedLoad(context, load, "no backup is written")) return kExitFailed;
  return SaveBackup(session->Config(), options.file, context.Messages()) ? kExitOk : kExitFailed;
}

int RunRestore(CommandContext& context, const RestoreOptions& options) {
  // A file that is not there (or is no file) is found out before the keypad is touched.
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathFromUtf8(options.file), error)) {
    context.Messages().ShowMessage("ERROR:Can't open file");
    context.Err() << "qp40ctl: " << options.file << ": cannot be opened\n";
    return kExitFailed;
  }

  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  if (RefuseAfterFailedLoad(context, load, "the backup is not restored")) return kExitFailed;
  if (!LoadBackupOver(context, options.file, session->Config())) return kExitFailed;

  // The backup's type word selects the profile block, as "Save Profiles Onboard" does; the save
  // reads back the blocks it wrote.
  const int status =
      SaveStatus(context, session->Save(options.full ? SaveMode::kFull : SaveMode::kChangedBlocks));
  if (status != kExitOk || !options.verify) return status;
  return SaveStatus(context, session->Verify());
}

}  // namespace

void AddBackupCommands(CLI::App& app, CommandAction& action) {
  auto backup_options = std::make_shared<BackupOptions>();
  CLI::App* backup =
      app.add_subcommand("backup", "Load the configuration and write it to a full backup file");
  backup->add_option("FILE", backup_options->file, "Backup file to write")->required();
  backup->callback([backup_options, &action] {
    action = [backup_options](CommandContext& context) {
      return RunBackup(context, *backup_options);
    };
  });

  auto restore_options = std::make_shared<RestoreOptions>();
  CLI::App* restore = app.add_subcommand(
      "restore",
      "Load the configuration, load a backup file over it and save it to the keypad (to the "
      "profile block its type word selects)");
  restore->add_flag("--verify", restore_options->verify,
                    "Also read back the blocks the keypad held already and compare them");
  restore->add_flag("--full", restore_options->full,
                    "Write all five blocks, not only those that differ from the keypad's");
  restore->add_option("FILE", restore_options->file, "Backup file to restore")->required();
  restore->callback([restore_options, &action] {
    action = [restore_options](CommandContext& context) {
      return RunRestore(context, *restore_options);
    };
  });
}

}  // namespace qp40::ctl
