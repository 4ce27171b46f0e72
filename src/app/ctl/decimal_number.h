#pragma once

#include <optional>
#include <string_view>

#include <CLI/CLI.hpp>

namespace qp40::ctl {

// Numbers on the command line are decimal, also with leading zeros: "08" is eight and "010" is
// ten, as a script that pads numbers to one width means them. The command line library alone
// would read a leading 0 as octal and 0x as hexadecimal. Accepts digits only and passes them on
// without their leading zeros.
CLI::Validator DecimalNumber();

// The same for numbers that may be negative: an optional '-' before the digits.
CLI::Validator SignedDecimalNumber();

// The value of a decimal number (optional '-', digits, leading zeros allowed) when it lies in
// lowest..highest; nothing for any other text.
std::optional<int> DecimalInRange(std::string_view text, int lowest, int highest);

}  // namespace qp40::ctl
