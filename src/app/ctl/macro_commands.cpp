#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "app/ctl/commands.h"
#include "app/ctl/decimal_number.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/script_file.h"
#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "macros/macro_listing.h"
#include "macros/macro_storage.h"
#include "macros/script_compiler.h"

namespace qp40::ctl {
namespace {

struct MacroOptions {
  int number = 0;
  std::string script;
  std::string buffer;
};

// The message pane's lines carry leading line breaks; stderr gets the text alone.
std::string WithoutLineBreaks(const std::string& text) {
  const std::size_t first = text.find_first_not_of("\r\n");
  return first == std::string::npos ? std::string() : text.substr(first);
}

int RunMacroGet(CommandContext& context, const MacroOptions& options) {
  KeypadSession* session = context.Keypad();
  if (session == nullptr) return context.AttachStatus();
  const MacroLoadOutcome outcome = session->LoadMacroScript(options.number);
  switch (outcome.status) {
    case MacroLoadStatus::kListed:
      context.Out() << outcome.listing;
      break;
    case MacroLoadStatus::kNotReady:
      context.Err() << WithoutLineBreaks(outcome.message) << '\n';
      break;
    case MacroLoadStatus::kBadNumber:
      return kExitUsage;
  }
  return outcome.failed_pages == 0 ? kExitOk : kExitFailed;
}

int RunMacroPut(CommandContext& context, const MacroOptions& options) {
  const std::optional<std::string> script = ReadScriptFile(context, options.script);
  if (!script) return kExitFailed;
  KeypadSession* session = context.Keypad();
  if (session == nullptr) return context.AttachStatus();

  // The compile comes first and takes no time; the store after it may.
  const TimeOfDay compiled_at = context.GetClock().Now();
  const MacroSaveOutcome outcome = session->SaveMacroScript(options.number, *script);
  ShowScriptProblems(context, outcome.problems, compiled_at);
  switch (outcome.status) {
    case MacroSaveStatus::kStored:
      context.Out() << outcome.message << '\n';
      return outcome.failed_pages == 0 ? kExitOk : kExitFailed;
    case MacroSaveStatus::kTooShort:
    case MacroSaveStatus::kNotCompiled:
      context.Err() << "qp40ctl: macro " << options.number << " was not stored\n";
      return kExitFailed;
    case MacroSaveStatus::kBadNumber:
      break;
  }
  return kExitUsage;
}

int RunMacroCompile(CommandContext& context, const MacroOptions& options) {
  const std::optional<std::string> script = ReadScriptFile(context, options.script);
  if (!script) return kExitFailed;

  const TimeOfDay compiled_at = context.GetClock().Now();
  const CompileResult compiled = CompileScript(*script, static_cast<std::uint8_t>(options.number),
                                               context.GetLog(), context.Messages());
  ShowScriptProblems(context, compiled.problems, compiled_at);
  if (compiled.status != CompileStatus::kCompiled) {
    context.Err() << "qp40ctl: " << options.buffer << ": not written\n";
    return kExitFailed;
  }
  if (!ReplaceFileContents(PathFromUtf8(options.buffer), compiled.buffer)) {
    context.Err() << "qp40ctl: " << options.buffer << ": cannot be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

int RunMacroList(CommandContext& context, const MacroOptions& options) {
  std::error_code error;
  std::ifstream in;
  const std::filesystem::path buffer_path = PathFromUtf8(options.buffer);
  if (std::filesystem::is_regular_file(buffer_path, error)) {
    in.open(buffer_path, std::ios::binary);
  }
  if (!in.is_open()) {
    context.Err() << "qp40ctl: " << options.buffer << ": cannot be opened\n";
    return kExitFailed;
  }
  MacroBuffer buffer{};
  in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
  const auto size = static_cast<std::size_t>(in.gcount());
  if (size != buffer.size() || in.peek() != std::ifstream::traits_type::eof()) {
    context.Err() << "qp40ctl: " << options.buffer << ": not a macro buffer (it must be "
                  << buffer.size() << " bytes)\n";
    return kExitFailed;
  }
  if (const std::optional<std::string> listing = ListMacro(buffer)) {
    context.Out() << *listing;
  } else {
    context.Err() << "qp40ctl: " << options.buffer
                  << ": the macro is not ready (its first record is free)\n";
  }
  return kExitOk;
}

CLI::Option* AddNumber(CLI::App& command, int& number, const char* what) {
  return command.add_option("N", number, what)
      ->required()
      ->transform(DecimalNumber())
      ->check(CLI::Range(0, kMacroCount - 1));
}

// Stores the work of `command`, run with its options, when it is the command given.
template <typename Run>
void OnParsed(CLI::App& command, const std::shared_ptr<MacroOptions>& options,
              CommandAction& action, Run run) {
  command.callback([options, &action, run] {
    action = [options, run](CommandContext& context) { return run(context, *options); };
  });
}

}  // namespace

void AddMacroCommands(CLI::App& app, CommandAction& action) {
  CLI::App* macro = app.add_subcommand("macro", "Hardware macros 0-31 and macro scripts");
  macro->require_subcommand(1);

  auto get_options = std::make_shared<MacroOptions>();
  CLI::App* get = macro->add_subcommand("get", "Read macro N from the keypad and list its script");
  AddNumber(*get, get_options->number, "Macro number 0-31");
  OnParsed(*get, get_options, action, RunMacroGet);

  auto put_options = std::make_shared<MacroOptions>();
  CLI::App* put =
      macro->add_subcommand("put", "Compile a script file and store it as macro N on the keypad");
  AddNumber(*put, put_options->number, "Macro number 0-31");
  put->add_option("SCRIPT", put_options->script, "Macro script file (*.txt)")->required();
  OnParsed(*put, put_options, action, RunMacroPut);

  auto compile_options = std::make_shared<MacroOptions>();
  CLI::App* compile = macro->add_subcommand(
      "compile", "Compile a script file into a 4096-byte macro buffer file (no keypad)");
  compile->add_option("SCRIPT", compile_options->script, "Macro script file (*.txt)")->required();
  compile->add_option("-o", compile_options->buffer, "Macro buffer file to write")
      ->required()
      ->type_name("BUFFER");
  compile->add_option("--number", compile_options->number, "Macro number 0-31 (default 0)")
      ->transform(DecimalNumber())
      ->check(CLI::Range(0, kMacroCount - 1));
  OnParsed(*compile, compile_options, action, RunMacroCompile);

  auto list_options = std::make_shared<MacroOptions>();
  CLI::App* list =
      macro->add_subcommand("list", "List the script of a 4096-byte macro buffer file (no keypad)");
  list->add_option("BUFFER", list_options->buffer, "Macro buffer file")->required();
  OnParsed(*list, list_options, action, RunMacroList);
}

}  // namespace qp40::ctl
