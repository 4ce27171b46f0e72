// qp40ctl apply: a layout file put on the keypad, writing only what differs.
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/ctl/apply_layout.h"
#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "chords/chord_file.h"
#include "files/utf8_path.h"
#include "history/history_folder.h"
#include "layout/layout_file.h"
#include "session/attach_text.h"
#include "session/keypad_list.h"

namespace qp40::ctl {
namespace {

struct ApplyOptions {
  std::string file;
  bool dry_run = false;
  int profile = 0;  // 1..4; 0 for all four
  std::string chords_out;
  // Every keypad found, one after another.
  bool all = false;
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

// Puts the layout on the keypad of `session`, loaded as `load` tells; the exit status. The
// blocks written go to `blocks_written`. `chords` writes --chords-out too.
int ApplyToSession(CommandContext& context, KeypadSession* session, const LoadResult& load,
                   const Layout& layout, const ApplyOptions& options, bool chords,
                   std::vector<std::uint8_t>& blocks_written) {
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
  const LayoutImportResult imported = session->ImportLayout(layout, scope);
  for (const std::string& problem : imported.problems) {
    context.Err() << "qp40ctl: " << options.file << ": " << problem << "\n";
  }
  if (imported.status != SessionStatus::kDone) return kExitFailed;
  for (const std::string& change : imported.changes) context.Out() << change << "\n";
  if (imported.changes.empty()) context.Out() << "The keypad holds this layout already.\n";

  if (chords && !options.chords_out.empty() &&
      !WriteChords(context, layout, options.chords_out, options.dry_run)) {
    return kExitFailed;
  }
  if (options.dry_run) {
    context.Out() << "Dry run: nothing was written to the keypad.\n";
    return kExitOk;
  }

  const SaveResult saved = session->Save(SaveMode::kChangedBlocks);
  blocks_written = saved.blocks_written;
  context.Out() << "Written and read back: blocks " << NumbersText(saved.blocks_written, "#")
                << "; macros " << NumbersText(saved.macros_written, "") << "\n";
  return SaveStatus(context, saved);
}

// One line of the table that ends apply --all.
struct KeypadOutcome {
  int number = 0;
  std::string identity;
  std::string blocks;
  std::string result;
};

void PrintOutcomes(std::ostream& out, const std::vector<KeypadOutcome>& outcomes) {
  out << "\nKeypad  Identity                          Blocks written        Result\n";
  for (const KeypadOutcome& outcome : outcomes) {
    std::string blocks = outcome.blocks;
    if (blocks.size() < 20) blocks.resize(20, ' ');
    std::string number = std::to_string(outcome.number);
    number.resize(6, ' ');
    out << number << "  " << outcome.identity << "  " << blocks << "  " << outcome.result << "\n";
  }
}

// apply --all: each keypad in turn, in a session of its own; a keypad that fails (unplugged
// midway, say) is reported in the table and the others still get the layout.
int RunApplyAll(CommandContext& context, const Layout& layout, const ApplyOptions& options) {
  if (!context.Options().device.empty()) {
    context.Err() << "qp40ctl: apply --all puts the layout on every keypad; leave out --device\n";
    return kExitUsage;
  }
  Transport* transport = context.KeypadTransport();
  if (transport == nullptr) return kExitFailed;
  const KeypadList list = FindKeypadList(*transport, context.GetLog(), context.Messages());
  if (list.keypads.empty()) {
    context.Err() << "qp40ctl: no QP40 keypad found\n";
    return kExitNoKeypad;
  }
  std::vector<KeypadOutcome> outcomes;
  int status = kExitOk;
  for (const ListedKeypad& keypad : list.keypads) {
    context.Out() << "Keypad " << keypad.number << " (" << keypad.path << "):\n";
    KeypadOutcome outcome{keypad.number, std::string(32, '?'), "none", "failed"};
    KeypadSession session(*transport, context.GetLog(), context.Messages());
    if (auto root = HistoryRoot(ProcessEnvironment)) {
      session.SetHistoryRoot(std::move(*root), HistoryLimitsFrom(ProcessEnvironment));
    }
    const AttachResult attached = session.Attach(keypad.path);
    int keypad_status = kExitFailed;
    if (attached.status != SessionStatus::kDone) {
      context.Err() << "qp40ctl: keypad " << keypad.number << ": " << AttachProblemText(attached)
                    << "\n";
      outcome.result = "failed: not opened";
    } else {
      const LoadResult load = session.Load();
      // The load reads the identity first; all zeros when the keypad did not answer.
      if (session.Link().GetDeviceId() != DeviceId{}) {
        outcome.identity = IdentityHex(session.Link().GetDeviceId());
      }
      std::vector<std::uint8_t> written;
      keypad_status = ApplyToSession(context, &session, load, layout, options, false, written);
      outcome.blocks = NumbersText(written, "#");
      if (keypad_status == kExitOk) outcome.result = options.dry_run ? "dry run" : "verified";
    }
    if (keypad_status != kExitOk) status = kExitFailed;
    session.Detach();
    outcomes.push_back(outcome);
  }
  if (!options.chords_out.empty() &&
      !WriteChords(context, layout, options.chords_out, options.dry_run)) {
    status = kExitFailed;
  }
  PrintOutcomes(context.Out(), outcomes);
  return status;
}

int RunApply(CommandContext& context, const ApplyOptions& options) {
  // Everything wrong with the file is found before the keypad is touched.
  const LayoutParse parsed = ReadLayoutFile(PathFromUtf8(options.file));
  for (const std::string& problem : parsed.problems) {
    context.Err() << "qp40ctl: " << options.file << ": " << problem << "\n";
  }
  if (!parsed.layout) return kExitFailed;
  if (options.all) return RunApplyAll(context, *parsed.layout, options);

  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  std::vector<std::uint8_t> written;
  return ApplyToSession(context, session, load, *parsed.layout, options, true, written);
}

}  // namespace

int ApplyLayout(CommandContext& context, const Layout& layout, const std::string& name,
                const ApplySettings& settings) {
  ApplyOptions options;
  options.file = name;
  options.dry_run = settings.dry_run;
  options.profile = settings.profile;
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  std::vector<std::uint8_t> written;
  return ApplyToSession(context, session, load, layout, options, false, written);
}

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
  command->add_flag("--all", options->all,
                    "Apply to every keypad found, one after another, each with its read-back; a "
                    "table of what each got ends the output, and a keypad that fails never stops "
                    "the others");
  command->callback([options, &action] {
    action = [options](CommandContext& context) { return RunApply(context, *options); };
  });
}

}  // namespace qp40::ctl
