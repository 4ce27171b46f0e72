// qp40ctl history: the snapshots kept of the keypad, compared and put back.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ctl/apply_layout.h"
#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "app/ctl/layout_sources.h"
#include "history/change_summary.h"
#include "layout/layout_diff.h"

namespace qp40::ctl {
namespace {

struct HistoryOptions {
  int number = 0;
  std::string against;
  bool dry_run = false;
};

// The keypad's history, after loading the keypad (which keeps its snapshot when it changed);
// nothing after saying why.
std::optional<SnapshotStore> KeypadHistory(CommandContext& context, int& status) {
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  status = kExitFailed;
  if (session == nullptr) {
    status = context.AttachStatus();
    return std::nullopt;
  }
  if (RefuseAfterFailedLoad(context, load, "its history is not read")) return std::nullopt;
  std::optional<SnapshotStore> history = session->KeypadHistory();
  if (!history) context.Err() << "qp40ctl: no data folder is known for the keypad's history\n";
  return history;
}

std::optional<Layout> ParseSnapshot(const SnapshotStore& history, const Snapshot& snapshot) {
  const std::optional<std::string> text = history.Read(snapshot);
  if (!text) return std::nullopt;
  return ParseLayoutText(*text).layout;
}

// Snapshot `number` of the keypad's history, read whole; nothing after saying why.
std::optional<Layout> SnapshotLayout(CommandContext& context, int number, int& status) {
  const std::optional<SnapshotStore> history = KeypadHistory(context, status);
  if (!history) return std::nullopt;
  status = kExitFailed;
  for (const Snapshot& snapshot : history->List()) {
    if (snapshot.number != number) continue;
    std::optional<Layout> layout = ParseSnapshot(*history, snapshot);
    if (!layout) {
      context.Err() << "qp40ctl: snapshot " << number << " (" << snapshot.path.string()
                    << ") cannot be read; it is left alone\n";
    }
    return layout;
  }
  context.Err() << "qp40ctl: there is no snapshot " << number << "; `history list` shows them\n";
  return std::nullopt;
}

int RunList(CommandContext& context) {
  int status = kExitOk;
  const std::optional<SnapshotStore> history = KeypadHistory(context, status);
  if (!history) return status;
  std::optional<Layout> previous;
  for (const Snapshot& snapshot : history->List()) {
    std::optional<Layout> layout = ParseSnapshot(*history, snapshot);
    std::string summary = "cannot be read";
    if (layout) {
      summary = previous ? ChangeSummary(DiffLayouts(*previous, *layout)) : "first snapshot";
      previous = std::move(layout);
    }
    context.Out() << snapshot.number << "\t" << snapshot.time << "\t"
                  << SnapshotEventText(snapshot.event) << "\t" << summary << "\n";
  }
  return kExitOk;
}

int RunShow(CommandContext& context, const HistoryOptions& options) {
  int status = kExitOk;
  const std::optional<Layout> snapshot = SnapshotLayout(context, options.number, status);
  if (!snapshot) return status;
  const std::string against =
      options.against.empty() ? std::string(kKeypadSource) : options.against;
  std::optional<Layout> now = LayoutOf(context, against, true, std::nullopt, status);
  if (!now) return status;
  // A snapshot kept without the macros, or a backup, says nothing about them.
  if (snapshot->macros.empty() || KindOf(against) == SourceKind::kBackup) now->macros.clear();
  const std::vector<std::string> lines = DiffLayouts(*now, *snapshot);
  for (const std::string& line : lines) context.Out() << line << "\n";
  return kExitOk;
}

int RunRestore(CommandContext& context, const HistoryOptions& options) {
  int status = kExitOk;
  const std::optional<Layout> snapshot = SnapshotLayout(context, options.number, status);
  if (!snapshot) return status;
  ApplySettings settings;
  settings.dry_run = options.dry_run;
  return ApplyLayout(context, *snapshot, "snapshot " + std::to_string(options.number), settings);
}

}  // namespace

void AddHistoryCommands(CLI::App& app, CommandAction& action) {
  CLI::App* history = app.add_subcommand(
      "history",
      "The snapshots kept of the keypad after each load and save, before each save and factory "
      "restore, and after each import");
  history->require_subcommand(1);

  CLI::App* list = history->add_subcommand("list", "List the snapshots, oldest first");
  list->callback([&action] { action = [](CommandContext& context) { return RunList(context); }; });

  auto show_options = std::make_shared<HistoryOptions>();
  CLI::App* show = history->add_subcommand(
      "show", "Show what differs between the keypad (or --against FILE) and snapshot N");
  show->add_option("N", show_options->number, "Snapshot number, as `history list` shows it")
      ->required();
  show->add_option("--against", show_options->against, "A backup file (.bin) or a layout file")
      ->type_name("FILE");
  show->callback([show_options, &action] {
    action = [show_options](CommandContext& context) { return RunShow(context, *show_options); };
  });

  auto restore_options = std::make_shared<HistoryOptions>();
  CLI::App* restore = history->add_subcommand(
      "restore", "Put snapshot N back on the keypad, as `apply` puts a layout file");
  restore->add_option("N", restore_options->number, "Snapshot number")->required();
  restore->add_flag("--dry-run", restore_options->dry_run, "Show what would change; write nothing");
  restore->callback([restore_options, &action] {
    action = [restore_options](CommandContext& context) {
      return RunRestore(context, *restore_options);
    };
  });
}

}  // namespace qp40::ctl
