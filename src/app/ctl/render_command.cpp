#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/ctl/commands.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/render_sources.h"
#include "files/file_replace.h"
#include "files/utf8_path.h"
#include "picture/cheat_sheet.h"

namespace qp40::ctl {
namespace {

constexpr std::string_view kAllProfiles = "all";

struct RenderOptions {
  std::string profile{kAllProfiles};
  std::string from;
  bool from_file = false;  // --from was given, even as an empty name
  std::string chords;
  bool no_appendix = false;
  std::string output;
};

// The profile option as the renderer takes it: 0..3, or none for all four.
std::optional<std::uint8_t> ChosenProfile(const std::string& option) {
  if (option == kAllProfiles) return std::nullopt;
  return static_cast<std::uint8_t>(option.front() - '1');
}

int RunRender(CommandContext& context, const RenderOptions& options) {
  CheatSheetOptions sheet;
  sheet.profile = ChosenProfile(options.profile);
  sheet.appendix = options.no_appendix ? Appendix::kLeftOut : Appendix::kShown;

  // Everything is read before the file is touched, so a failed read leaves no picture behind.
  RenderSource source;
  int status = kExitOk;
  if (options.from_file) {
    if (!RenderSourceFromFile(context, options.from, source)) return kExitFailed;
    if (source.one_profile) {
      if (sheet.profile.value_or(0) != 0) {
        context.Err() << "qp40ctl: " << options.from
                      << ": holds the keys of one profile only; it shows as profile 1\n";
        return kExitFailed;
      }
      sheet.profile = 0;
    }
  } else if (!RenderSourceFromKeypad(context, sheet, source, status)) {
    return status;
  }
  if (!options.chords.empty() && !AddChordFile(context, options.chords, source)) {
    return kExitFailed;
  }

  const std::string svg = RenderCheatSheet(source.config, source.extras, sheet);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(svg.data());
  if (!ReplaceFileContents(PathFromUtf8(options.output), std::span(bytes, svg.size()))) {
    context.Err() << "qp40ctl: " << options.output << ": cannot be written\n";
    return kExitFailed;
  }
  return source.incomplete ? kExitFailed : kExitOk;
}

}  // namespace

void AddRenderCommand(CLI::App& app, CommandAction& action) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* render = app.add_subcommand(
      "render",
      "Draw a cheat sheet of the keys as an SVG picture, from the keypad, a backup file or a "
      "layout file");
  render->add_option("--profile", options->profile, "User profile 1-4, or all (default all)")
      ->check(
          CLI::IsMember(std::vector<std::string>{"1", "2", "3", "4", std::string(kAllProfiles)}));
  CLI::Option* from =
      render
          ->add_option("--from", options->from,
                       "Backup file (.bin) or layout file (.qp40.json) to draw instead of the "
                       "keypad")
          ->type_name("FILE");
  render->add_option("--chords", options->chords, "Chord file whose chords the appendix lists")
      ->type_name("CHORDS");
  render->add_flag("--no-appendix", options->no_appendix,
                   "Leave out the macros, texts and chords after the key grids");
  render->add_option("-o", options->output, "SVG file to write")->required()->type_name("FILE");
  render->callback([options, from, &action] {
    options->from_file = from->count() > 0;
    action = [options](CommandContext& context) { return RunRender(context, *options); };
  });
}

}  // namespace qp40::ctl
