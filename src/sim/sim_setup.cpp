#include "sim/sim_setup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

#include "files/utf8_path.h"

namespace qp40::sim {
namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 6> kFaultNames = {{
    {"drop", FaultKind::kDrop},
    {"status", FaultKind::kStatus},
    {"echo", FaultKind::kEcho},
    {"late", FaultKind::kLate},
    {"gone", FaultKind::kGone},
    {"flip", FaultKind::kFlip},
}};

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view kind = text.substr(0, at);
  const std::string_view number = text.substr(at + 1);

  std::uint64_t request_number = 0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), request_number);
  if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
      request_number == 0) {
    return std::nullopt;
  }
  for (const auto& [name, fault_kind] : kFaultNames) {
    if (name == kind) return Fault{fault_kind, request_number};
  }
  return std::nullopt;
}

std::string CheckFault(std::string_view text) {
  if (ParseFault(text)) return {};
  // Appended piece by piece: g++ 12 at -O3 misreads "'" + string as an overlapping copy.
  std::string problem = "'";
  problem.append(text);
  problem.append("' is not KIND@N (KIND: drop, status, echo, late, gone or flip; N from 1)");
  return problem;
}

std::string ParseFaultList(std::string_view list, std::vector<Fault>& faults) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string_view item = list.substr(start, comma - start);
    const std::optional<Fault> fault = ParseFault(item);
    if (!fault) return CheckFault(item);
    faults.push_back(*fault);
    start = comma + 1;
  }
  return {};
}

std::optional<std::uint32_t> ParseLatency(std::string_view text) {
  std::uint32_t latency = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, latency);
  // A number too large stops with result_out_of_range and leaves `latency` at 0.
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return latency;
}

std::string CheckLatency(std::string_view text) {
  if (ParseLatency(text)) return {};
  std::string problem = "'";
  problem.append(text);
  const bool digits_only = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (digits_only) {
    problem.append("' is too large a latency (at most ");
    problem.append(std::to_string(std::numeric_limits<std::uint32_t>::max()));
    problem.append(" microseconds)");
  } else {
    problem.append("' is not a number of microseconds (decimal digits only)");
  }
  return problem;
}

SimulatedKeypad::SimulatedKeypad(const SimOptions& options) : image_(options.image) {
  // A run makes thousands of exchanges; nothing reads them back.
  keypad_.SetRecordRequests(false);
  for (const Fault& fault : options.faults) keypad_.AddFault(fault);
  keypad_.SetLatencyMicroseconds(options.latency_us);
}

std::string SimulatedKeypad::LoadImage() {
  if (image_.empty()) return {};
  std::error_code error;
  if (std::filesystem::exists(PathFromUtf8(image_), error) && !keypad_.LoadImage(image_)) {
    return image_ + ": not a keypad memory image (it must be " + std::to_string(kImageSize) +
           " bytes: 128 blocks of 2048 bytes); left unchanged";
  }
  keep_image_ = true;
  return {};
}

std::string SimulatedKeypad::SaveImage() const {
  if (!keep_image_ || keypad_.SaveImage(image_)) return {};
  return image_ + ": could not write the virtual keypad's memory back";
}

}  // namespace qp40::sim
