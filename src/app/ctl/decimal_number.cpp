#include "app/ctl/decimal_number.h"

#include <algorithm>
#include <string>

namespace qp40::ctl {

CLI::Validator DecimalNumber() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        const bool digits_only =
            !value.empty() &&
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits_only) return "'" + value + "' is not a decimal number";
        const std::size_t first = value.find_first_not_of('0');
        value = first == std::string::npos ? "0" : value.substr(first);
        return {};
      },
      "");
}

}  // namespace qp40::ctl
