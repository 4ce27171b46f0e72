#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/key_edit_options.h"
#include "app/ctl/keypad_load.h"
#include "editing/key_edits.h"
#include "editing/keypad_text.h"
#include "keys/key_action.h"
#include "layout/key_expression.h"
#include "log/text_format.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "model/profile_ops.h"

namespace qp40::ctl {
namespace {

constexpr int kStopModeRelease = 2;
constexpr int kLargestMacro = 31;
constexpr int kLargestAxis = 127;

// The usage error for a VALUE of `key set`, or empty when it is valid.
std::string CheckKeyValue(const std::string& value) { return ParseKeyExpression(value).error; }

struct KeySetOptions {
  int profile = 1;
  int row = 0;
  int column = 0;
  std::string value;
  std::string string_text;
  std::string burst_text;
  std::string modifiers;  // comma-separated
  std::string shortcut;
  std::string media;
  std::string mouse;
  int x = 0;
  int y = 0;
  int macro = 0;
  int stop_mode = kStopModeRelease;
  int tool = 0;
  bool disable = false;
  // The key edit when a key type option was given; VALUE otherwise.
  std::optional<KeyEdit> edit;
};

// Texts longer than their table keeps are cut when stored; the user hears of it first.
void TellCutText(CommandContext& context, const KeyEdit& edit) {
  if (!edit.text) return;
  const std::size_t length = edit.text->bytes.size();
  if (edit.text->kind == KeypadTextKind::kBurst && length > kMaxBurstLength) {
    context.Err() << "qp40ctl: a burst text keeps its first " << kMaxBurstLength << " characters\n";
  } else if (edit.text->kind == KeypadTextKind::kString && length > kMaxStringLength) {
    context.Err() << "qp40ctl: a string keeps its first " << kMaxStringLength << " characters\n";
  }
}

int RunKeySet(CommandContext& context, const KeySetOptions& options) {
  std::optional<KeyEdit> edit = options.edit;
  if (!edit) {
    edit = ParseKeyExpression(options.value).edit;
    if (!edit) return kExitUsage;  // the command line has checked it
  }
  if (edit->text && edit->text->kind == KeypadTextKind::kString && edit->text->bytes.empty()) {
    context.Err() << "qp40ctl: an empty string is not stored; the key keeps what it does\n";
    return kExitFailed;
  }

  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) return context.AttachStatus();
  if (RefuseAfterFailedLoad(context, load, "the key is not set")) return kExitFailed;

  SelectProfile(session->Config(), static_cast<std::uint8_t>(options.profile - 1),
                context.Refresher());
  TellCutText(context, *edit);
  const KeyEditResult applied =
      session->ApplyKeyEdit(GridPosition(options.row, options.column), *edit);
  if (applied.status != SessionStatus::kDone) {
    // The message of the full table is out already.
    context.Err() << "qp40ctl: the key is not set\n";
    return kExitFailed;
  }
  return SaveStatus(context, session->Save());
}

// A check that takes the usage error a parser of a type option gives.
CLI::Validator OptionCheck(ParsedEdit (*parse)(std::string_view)) {
  return CLI::Validator([parse](const std::string& text) { return parse(text).error; }, "");
}

CLI::Validator ModifierCheck() {
  return CLI::Validator(
      [](const std::string& words) {
        std::uint8_t bits = 0;
        return ModifierBits(words, bits);
      },
      "");
}

// The key edit of the type option given, after the checks of each option have passed.
std::optional<KeyEdit> EditOfOptions(const KeySetOptions& options, const CLI::App& set) {
  if (set.count("--string") > 0) {
    return TextOption(KeypadTextKind::kString, options.string_text, options.modifiers).edit;
  }
  if (set.count("--burst") > 0) {
    return TextOption(KeypadTextKind::kBurst, options.burst_text, options.modifiers).edit;
  }
  if (set.count("--shortcut") > 0) return ShortcutOption(options.shortcut).edit;
  if (set.count("--media") > 0) return MediaOption(options.media).edit;
  if (set.count("--mouse") > 0) return MouseOption(options.mouse, options.x, options.y).edit;
  if (set.count("--macro") > 0) {
    return MacroEdit(static_cast<std::uint8_t>(options.macro),
                     static_cast<std::uint8_t>(options.stop_mode));
  }
  if (set.count("--tool") > 0) return ToolEdit(static_cast<std::uint8_t>(options.tool));
  return DisabledEdit();
}

}  // namespace

void AddKeyCommands(CLI::App& app, CommandAction& action) {
  CLI::App* key = app.add_subcommand("key", "Change keys on the keypad");
  key->require_subcommand(1);

  auto options = std::make_shared<KeySetOptions>();
  CLI::App* set = key->add_subcommand(
      "set",
      "Load, set what one key does, save. Give VALUE (a key expression, 8 hex digits or a key "
      "name) or one of the "
      "key type options; the key's string or burst text is stored and the one the key had is "
      "freed, and only the blocks that changed are written");
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
  CLI::Option* value =
      set->add_option(
             "VALUE", options->value,
             "Key expression such as Enter, Ctrl+Shift+c, media:Volume+, mouse:Move(10,-10), "
             "macro:5/auto, string:\"Hello\", burst:\"abc\", tool:Profile, profile:2, "
             "disabled or record:80290000 (see the README); 8 hex digits are a record")
          ->check(CLI::Validator(CheckKeyValue, ""));

  CLI::Option* string_option =
      set->add_option("--string", options->string_text,
                      "String key: types TEXT, up to 252 printable ASCII characters, e.g. "
                      "--string \"Hello^e\"")
          ->type_name("TEXT");
  CLI::Option* burst =
      set->add_option("--burst", options->burst_text,
                      "Hotkey & burst key: sends TEXT, up to 15 characters, e.g. --burst DIMLINEAR")
          ->type_name("TEXT");
  CLI::Option* modifiers =
      set->add_option("--mods", options->modifiers,
                      "With --string or --burst: the modifiers to hold, from Ctrl, Shift, Alt "
                      "and Win, e.g. --burst DIMLINEAR --mods Ctrl,Shift")
          ->type_name("MODS")
          ->check(ModifierCheck());
  CLI::Option* shortcut =
      set->add_option("--shortcut", options->shortcut,
                      "Windows shortcut: Ctrl, Shift, Alt and Win (any case) with one or two key "
                      "names, joined by +, e.g. --shortcut Ctrl+Alt+Del")
          ->type_name("KEYS")
          ->check(OptionCheck(ShortcutOption));
  CLI::Option* media = set->add_option("--media", options->media,
                                       "Multimedia key by its name or its code 0-255, e.g. "
                                       "--media Volume+")
                           ->type_name("NAME")
                           ->check(OptionCheck(MediaOption));
  CLI::Option* mouse =
      set->add_option("--mouse", options->mouse,
                      "Mouse key: M_Left, M_Right, M_Middle, M_Button4 ... M_Button8, M_Wheel or "
                      "Move, e.g. --mouse M_Left --x 5 --y -5")
          ->type_name("NAME")
          ->check(CLI::Validator(
              [](const std::string& name) { return MouseOption(name, 0, 0).error; }, ""));
  set->add_option("--x", options->x, "With --mouse: x movement -127..127 (default 0), e.g. --x 5")
      ->type_name("N")
      ->transform(SignedDecimalNumber())
      ->check(CLI::Range(-kLargestAxis, kLargestAxis))
      ->needs(mouse);
  set->add_option("--y", options->y, "With --mouse: y movement -127..127 (default 0), e.g. --y -5")
      ->type_name("N")
      ->transform(SignedDecimalNumber())
      ->check(CLI::Range(-kLargestAxis, kLargestAxis))
      ->needs(mouse);
  CLI::Option* macro = set->add_option("--macro", options->macro,
                                       "Macro trigger: runs hardware macro N (0-31), e.g. "
                                       "--macro 5 --stop-mode release")
                           ->type_name("N")
                           ->transform(DecimalNumber())
                           ->check(CLI::Range(0, kLargestMacro));
  const std::map<std::string, int> stop_modes = {
      {"auto", 0}, {"second", 1}, {"release", kStopModeRelease}};
  set->add_option("--stop-mode", options->stop_mode,
                  "With --macro: the macro stops by itself (auto), at a second click (second) or "
                  "when the key is released (release, the default)")
      ->type_name("MODE")
      ->transform(CLI::CheckedTransformer(stop_modes, CLI::ignore_case))
      ->needs(macro);
  CLI::Option* tool = set->add_option("--tool", options->tool,
                                      "Tools key with code N (0-255), e.g. --tool 236 (Profile)")
                          ->type_name("N")
                          ->transform(DecimalNumber())
                          ->check(CLI::Range(0, 255));
  CLI::Option* disable =
      set->add_flag("--disable", options->disable, "Disable key: the key does nothing");

  const std::vector<CLI::Option*> kinds = {value, string_option, burst, shortcut, media,
                                           mouse, macro,         tool,  disable};
  for (CLI::Option* kind : kinds) {
    for (CLI::Option* other : kinds) {
      if (other != kind) kind->excludes(other);
    }
  }
  set->footer(
      "Examples:\n"
      "  qp40ctl key set 2 3 Enter\n"
      "  qp40ctl key set 2 3 Ctrl+Shift+c\n"
      "  qp40ctl key set 2 3 'Ctrl+string:\"Hello\"'\n"
      "  qp40ctl key set 2 3 --string \"Hello^e\"\n"
      "  qp40ctl key set 2 4 --burst DIMLINEAR --mods Ctrl\n"
      "  qp40ctl key set 2 5 --shortcut Ctrl+Alt+Del\n"
      "  qp40ctl key set 3 1 --media Volume+\n"
      "  qp40ctl key set 3 2 --mouse M_Left --x 5 --y -5\n"
      "  qp40ctl key set 3 3 --macro 5 --stop-mode release\n"
      "  qp40ctl key set 3 4 --tool 236\n"
      "  qp40ctl key set --profile 2 6 8 --disable");

  set->callback([options, set, kinds, value, string_option, burst, modifiers, &action] {
    std::size_t given = 0;
    for (const CLI::Option* kind : kinds) given += kind->count();
    if (given == 0) {
      throw CLI::RequiredError("VALUE or a key type option (--string, --burst, ...)");
    }
    if (modifiers->count() > 0 && string_option->count() == 0 && burst->count() == 0) {
      throw CLI::ValidationError("--mods", "goes with --string or --burst");
    }
    if (value->count() == 0) options->edit = EditOfOptions(*options, *set);
    action = [options](CommandContext& context) { return RunKeySet(context, *options); };
  });
}

}  // namespace qp40::ctl
