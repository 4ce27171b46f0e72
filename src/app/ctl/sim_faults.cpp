#include "app/ctl/sim_faults.h"

#include <array>
#include <charconv>
#include <utility>

namespace qp40::ctl {
namespace {

constexpr std::array<std::pair<std::string_view, sim::FaultKind>, 5> kFaultNames = {{
    {"drop", sim::FaultKind::kDrop},
    {"status", sim::FaultKind::kStatus},
    {"echo", sim::FaultKind::kEcho},
    {"late", sim::FaultKind::kLate},
    {"gone", sim::FaultKind::kGone},
}};

}  // namespace

std::optional<sim::Fault> ParseSimFault(std::string_view text) {
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
    if (name == kind) return sim::Fault{fault_kind, request_number};
  }
  return std::nullopt;
}

std::string CheckSimFault(const std::string& text) {
  if (ParseSimFault(text)) return {};
  return "'" + text + "' is not KIND@N (KIND: drop, status, echo, late or gone; N from 1)";
}

}  // namespace qp40::ctl
