#include "app/ctl/render_sources.h"

#include <optional>
#include <string>
#include <vector>

#include "app/ctl/backup_input.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "chords/chord_file.h"
#include "files/utf8_path.h"
#include "layout/layout_file.h"
#include "macros/macro_record.h"
#include "model/backup_file.h"
#include "session/layout_configuration.h"
#include "session/sheet_extras.h"

namespace qp40::ctl {
namespace {

// Layout files end in this; they are read by the layout file's own reader.
constexpr std::string_view kLayoutFileSuffix = ".qp40.json";

bool EndsWith(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         std::string_view(text).substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

bool RenderSourceFromKeypad(CommandContext& context, const CheatSheetOptions& options,
                            RenderSource& source, int& status) {
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) {
    status = context.AttachStatus();
    return false;
  }
  if (load.status != SessionStatus::kDone) {
    context.Err() << "qp40ctl: the keypad could not be read in full (" << StatusText(load.status)
                  << "); no picture is written\n";
    status = kExitFailed;
    return false;
  }
  source.config = session->Config();
  SheetExtrasRead read = ReadSheetExtras(*session, options);
  for (const int number : read.unread_macros) {
    context.Err() << "qp40ctl: macro " << number << " could not be read from the keypad\n";
    source.incomplete = true;
  }
  source.extras = std::move(read.extras);
  return true;
}

bool RenderSourceFromFile(CommandContext& context, const std::string& path, RenderSource& source) {
  if (EndsWith(path, kLayoutFileSuffix)) {
    const LayoutParse parsed = ReadLayoutFile(PathFromUtf8(path));
    std::vector<std::string> problems = parsed.problems;
    std::optional<Configuration> config;
    if (parsed.layout) {
      LayoutConfiguration drawn = ConfigurationOfLayout(*parsed.layout);
      problems = std::move(drawn.problems);
      config = drawn.config;
    }
    for (const std::string& problem : problems) {
      context.Err() << "qp40ctl: " << path << ": " << problem << "\n";
    }
    if (!config) return false;
    source.config = *config;
    source.extras.macro_scripts = LayoutMacroScripts(*parsed.layout);
    // A macro the file leaves out was never stored.
    for (int number = 0; number < kMacroCount; ++number) {
      source.extras.macro_scripts.try_emplace(number, std::nullopt);
    }
    source.extras.chords = parsed.layout->chords;
    return true;
  }
  if (!LoadBackupOffline(context, path, source.config)) return false;
  source.one_profile = source.config.loaded_backup_type == kBackupWorkingProfile;
  return true;
}

bool AddChordFile(CommandContext& context, const std::string& path, RenderSource& source) {
  ChordTable table{};
  const ChordImportResult result = LoadChordFile(PathFromUtf8(path), table);
  switch (result.status) {
    case ChordImportStatus::kImported:
      source.extras.chords = table;
      return true;
    case ChordImportStatus::kUnknownFile:
      context.Err() << "qp40ctl: " << path << ": not a chord file\n";
      return false;
    case ChordImportStatus::kCannotOpen:
      break;
  }
  context.Err() << "qp40ctl: " << path << ": cannot be opened\n";
  return false;
}

}  // namespace qp40::ctl
