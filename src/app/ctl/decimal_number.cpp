#include "app/ctl/decimal_number.h"

#include <algorithm>
#include <string>

namespace qp40::ctl {
namespace {

bool DigitsOnly(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

}  // namespace

CLI::Validator DecimalNumber() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        if (!DigitsOnly(value)) return "'" + value + "' is not a decimal number";
        value = WithoutLeadingZeros(value);
        return {};
      },
      "");
}

CLI::Validator SignedDecimalNumber() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        const bool negative = !value.empty() && value.front() == '-';
        const std::string_view digits = std::string_view(value).substr(negative ? 1 : 0);
        if (!DigitsOnly(digits)) return "'" + value + "' is not a decimal number";
        const std::string magnitude = WithoutLeadingZeros(digits);
        value = negative && magnitude != "0" ? "-" + magnitude : magnitude;
        return {};
      },
      "");
}

std::optional<int> DecimalInRange(std::string_view text, int lowest, int highest) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (!DigitsOnly(digits)) return std::nullopt;
  // Nine digits fit an int; anything longer lies outside every range asked for.
  const std::string magnitude = WithoutLeadingZeros(digits);
  if (magnitude.size() > 9) return std::nullopt;
  const int value = (negative ? -1 : 1) * std::stoi(magnitude);
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

}  // namespace qp40::ctl
