#include "app/ctl/layout_sources.h"

#include <map>

#include "app/ctl/backup_input.h"
#include "app/ctl/exit_codes.h"
#include "app/ctl/keypad_load.h"
#include "files/utf8_path.h"
#include "session/session_layout.h"

namespace qp40::ctl {
namespace {

constexpr std::string_view kBackupExtension = ".bin";

}  // namespace

SourceKind KindOf(const std::string& source) {
  if (source == kKeypadSource) return SourceKind::kKeypad;
  if (source.ends_with(kBackupExtension)) return SourceKind::kBackup;
  return SourceKind::kLayoutFile;
}

std::optional<Layout> LayoutOf(CommandContext& context, const std::string& source, bool macros,
                               const std::optional<ChordTable>& chords, int& status) {
  status = kExitFailed;
  if (KindOf(source) == SourceKind::kBackup) {
    Configuration config;
    if (!LoadBackupOffline(context, source, config)) return std::nullopt;
    return MakeLayout(config, TableTexts(config), {}, chords, "");
  }
  if (KindOf(source) == SourceKind::kLayoutFile) {
    const LayoutParse parsed = ReadLayoutFile(PathFromUtf8(source));
    for (const std::string& problem : parsed.problems) {
      context.Err() << "qp40ctl: " << source << ": " << problem << "\n";
    }
    return parsed.layout;
  }
  LoadResult load;
  KeypadSession* session = AttachAndLoad(context, load);
  if (session == nullptr) {
    status = context.AttachStatus();
    return std::nullopt;
  }
  if (RefuseAfterFailedLoad(context, load, "the keypad's layout is not read")) return std::nullopt;
  std::map<int, MacroBuffer> buffers;
  if (macros) {
    std::optional<std::map<int, MacroBuffer>> read = session->ReadMacros();
    if (!read) {
      context.Err() << "qp40ctl: the keypad's macros could not be read\n";
      return std::nullopt;
    }
    buffers = std::move(*read);
  }
  Layout layout = SessionLayout(*session, buffers);
  layout.chords = chords;
  return layout;
}

}  // namespace qp40::ctl
