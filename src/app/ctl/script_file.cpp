#include "app/ctl/script_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace qp40::ctl {
namespace {

constexpr std::size_t kMaxScriptFileSize = 10240;
constexpr std::string_view kLogLineEnd = "\r\n";
// Lines of the device link about failed exchanges and pages: without --log they are counted in
// the closing summary, not shown one by one.
constexpr std::array<std::string_view, 3> kLinkFailureLines = {
    ">> Tx ERROR: ", "ERROR: READ Device ", "ERROR:WRITE Device "};

bool IsLinkFailure(std::string_view line) {
  return std::any_of(kLinkFailureLines.begin(), kLinkFailureLines.end(),
                     [line](std::string_view start) { return line.starts_with(start); });
}

}  // namespace

std::optional<std::string> ReadScriptFile(CommandContext& context, const std::string& path) {
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, error)) in.open(path, std::ios::binary);
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

void ShowScriptProblems(CommandContext& context, std::size_t log_start) {
  if (context.Options().log) return;  // already shown
  const std::string& log = context.GetLog().Text();
  std::size_t start = std::min(log_start, log.size());
  while (start < log.size()) {
    std::size_t end = log.find(kLogLineEnd, start);
    if (end == std::string::npos) end = log.size();
    const std::string_view line(log.data() + start, end - start);
    if ((line.find("Error") != std::string_view::npos ||
         line.find("ERROR") != std::string_view::npos) &&
        !IsLinkFailure(line)) {
      context.Err() << SingleLine(line) << '\n';
    }
    start = end + kLogLineEnd.size();
  }
}

}  // namespace qp40::ctl
