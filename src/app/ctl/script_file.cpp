#include "app/ctl/script_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "files/utf8_path.h"
#include "log/log.h"

namespace qp40::ctl {
namespace {

constexpr std::size_t kMaxScriptFileSize = 10240;

}  // namespace

std::optional<std::string> ReadScriptFile(CommandContext& context, const std::string& path) {
  std::error_code error;
  std::ifstream in;
  const std::filesystem::path file = PathFromUtf8(path);
  if (std::filesystem::is_regular_file(file, error)) in.open(file, std::ios::binary);
  // A stream that was never opened reads as an empty file: ask whether it was opened.
  if (!in.is_open()) {
    context.GetLog().AppendLog(">> Error: Can't open file");
    context.Err() << "qp40ctl: " << path << ": cannot be opened\n";
    return std::nullopt;
  }
  // Reading up to the limit tells a file that reaches it from one that stays below.
  std::string text(kMaxScriptFileSize, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (static_cast<std::size_t>(in.gcount()) >= kMaxScriptFileSize) {
    context.Messages().ShowMessage(" ERROR: File is over size of 10Kbyte");
    return std::nullopt;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

void ShowScriptProblems(CommandContext& context, const std::vector<ScriptProblem>& problems,
                        const TimeOfDay& compiled_at) {
  if (context.Options().log) return;  // already shown
  for (const ScriptProblem& problem : problems) {
    context.Err() << SingleLine(FormatLogLine(problem.text, compiled_at)) << '\n';
  }
}

}  // namespace qp40::ctl
