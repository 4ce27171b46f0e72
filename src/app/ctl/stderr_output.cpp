#include "app/ctl/stderr_output.h"

namespace qp40::ctl {

void StderrNotifier::ShowMessage(std::string_view text) {
  // A message box may hold several lines; stderr gets them without the empty ones.
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = text.substr(start, end - start);
    if (!part.empty()) out_ << part << '\n';
    start = end + 1;
  }
  out_.flush();
}

void StderrLogSink::OnLineAppended(std::string_view line, const std::string& /*whole_log*/) {
  if (echo_) {
    out_ << SingleLine(line) << '\n';
    out_.flush();
  }
}

std::string SingleLine(std::string_view log_line) {
  std::string line;
  line.reserve(log_line.size());
  for (const char c : log_line) {
    if (c != '\r' && c != '\n') line.push_back(c);
  }
  return line;
}

}  // namespace qp40::ctl
