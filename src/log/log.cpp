#include "log/log.h"

#include "log/text_format.h"

namespace qp40 {

namespace {
constexpr std::string_view kNoWindowMessage = "qlReadWindow";
constexpr std::string_view kStampOpening = "      (";
constexpr std::string_view kLineEnd = ")\r\n";
}  // namespace

std::string FormatLogLine(std::string_view text, const TimeOfDay& time) {
  const std::string stamp =
      FormatText("%02d:%02d:%02d", time.hours % 100, time.minutes % 100, time.seconds % 100);
  std::string line;
  line.reserve(text.size() + kStampOpening.size() + 8 + kLineEnd.size());
  line.append(text).append(kStampOpening).append(stamp).append(kLineEnd);
  return line;
}

Log::Log(const Clock& clock, Notifier& notifier) : clock_(clock), notifier_(notifier) {}

void Log::AppendLog(std::string_view text) {
  if (sink_ == nullptr) {
    notifier_.ShowMessage(kNoWindowMessage);
    return;
  }
  const std::string line = FormatLogLine(text, clock_.Now());
  text_.append(line);
  sink_->OnLineAppended(line, text_);
}

}  // namespace qp40
