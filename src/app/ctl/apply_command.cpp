// qp40ctl apply: a layout file put on the keypad, writing only what differs.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "chords/chord_file.h"
#include "files/utf8_path.h"
#include "layout/layout_file.h"

namespace qp40::ctl {
namespace {

struct ApplyOptions {
  std::string file;
  bool dry_run = false;
  int profile = 0;  // 1..4; 0 for all four
  std::string chords_out;
};

// "#28, #30" or "5, 7": the numbers, each after `mark`; "none" when there are none.
template <typename Number>
std::string NumbersText(const std::vector<Number>& numbers, std::string_view mark) {
  std::string text;
  for (const Number number : numbers) {
    if (!text.empty()) text += ", ";
    text += mark;
    text += std::to_string(number);
  }
  return text.empty() ? "none" : text;
}

// Writes the layout's chord table to `path`; false after saying why.
bool WriteChords(CommandContext& context, const Layout& layout, const std::string& path,
                 bool dry_run) {
  if (!layout.chords) {
    context.Err() << "qp40ctl: the layout holds no chords; " << path << " is not written\n";
    return false;
  }
  if (dry_run) {
    context.Out() << "Would write the chords to " << path << "\n";
    return true;
  }
  if (!SaveChordFile(PathFromUtf8(path), *layout.chords)) {
    context.Err() << "qp40ctl: " << path << ": cannot be written\n";
    return false;
  }
  return true;
}

int RunApply(CommandContext& context, const ApplyOptions& options) {
  // Everything wrong with the file is found before the keypad is touched.
  const LayoutParse parsed = ReadLayoutFile(PathFromUtf8(options.file));
  for (const std::string& problem : parsed.problems) {
    context.Err() << "qp40ctl: " << options.file << ": " << problem << "\n";
  }
  if (!parsed.layout) return kExitFailed;

  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  if (RefuseAfterFailedLoad(context, load, "the layout is not applied")) return kExitFailed;

  LayoutImportScope scope;
  if (options.profile > 0) scope.profile = static_cast<std::uint8_t>(options.profile - 1);
  scope.dry_run = options.dry_run;
  scope.chords = false;
  // One profile leaves the macros alone, so they need not be read.
  std::optional<std::map<int, MacroBuffer>> macros;
  if (!scope.profile) {
    macros = session->ReadMacros();
    if (!macros) {
      context.Err() << "qp40ctl: the keypad's macros could not be read; the layout is not "
                       "applied\n";
      return kExitFailed;
    }
    scope.keypad_macros = &*macros;
  }
  const LayoutImportResult imported = session->ImportLayout(*parsed.layout, scope);
  for (const std::string& problem : imported.problems) {
    context.Err() << "qp40ctl: " << options.file << ": " << problem << "\n";
  }
  if (imported.status != SessionStatus::kDone) return kExitFailed;
  for (const std::string& change : imported.changes) context.Out() << change << "\n";
  if (imported.changes.empty()) context.Out() << "The keypad holds this layout already.\n";

  if (!options.chords_out.empty() &&
      !WriteChords(context, *parsed.layout, options.chords_out, options.dry_run)) {
    return kExitFailed;
  }
  if (options.dry_run) {
    context.Out() << "Dry run: nothing was written to the keypad.\n";
    return kExitOk;
  }

  const SaveResult saved = session->Save(SaveMode::kChangedBlocks);
  context.Out() << "Written and read back: blocks " << NumbersText(saved.blocks_written, "#")
                << "; macros " << NumbersText(saved.macros_written, "") << "\n";
  return SaveStatus(context, saved);
}

}  // namespace

void AddApplyCommand(CLI::App& app, CommandAction& action) {
  auto options = std::make_shared<ApplyOptions>();
  CLI::App* command = app.add_subcommand(
      "apply",
      "Put a layout file (.qp40.json) on the keypad: shows what changes, then writes only the "
      "blocks and macros that differ and reads them back");
  command->add_option("FILE", options->file, "Layout file to apply")->required();
  command->add_flag("--dry-run", options->dry_run, "Show what would change; write nothing");
  command
      ->add_option("--profile", options->profile,
                   "Apply only this profile's settings and keys (no macros)")
      ->check(CLI::Range(1, 4))
      ->type_name("N");
  command->add_option("--chords-out", options->chords_out, "Write the layout's chords to this file")
      ->type_name("FILE");
  command->callback([options, &action] {
    action = [options](CommandContext& context) { return RunApply(context, *options); };
  });
}

}  // namespace qp40::ctl
