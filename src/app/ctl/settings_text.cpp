#include "app/ctl/settings_text.h"

#include <array>

#include "keys/board_layout.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

std::string Hex(std::uint8_t value) { return FormatText("0x%02x", value); }

// Names of the values of the path type and USB type lists, by value.
constexpr std::array<const char*, 3> kPathTypeNames = {"USB", "BlueTooth", "Mirror"};
constexpr std::array<const char*, 2> kUsbTypeNames = {"Basic Keyboard", "Gaming Keyboard"};

template <std::size_t N>
std::string NameOrNumber(std::uint8_t value, const std::array<const char*, N>& names) {
  return value < N ? names[value] : "unknown (" + std::to_string(value) + ")";
}

}  // namespace

std::string BoardTypeText(std::uint8_t board_code) {
  switch (board_code) {
    case kBoard46Keys:
      return "46 keys";
    case kBoard44Keys:
      return "44 keys";
    case kBoard43Keys:
      return "43 keys";
    case kBoard48Keys:
      return "48 keys";
    default:
      // The window lays every other code out as the 48-key board.
      return "48 keys (code " + Hex(board_code) + ")";
  }
}

std::string PathTypeText(std::uint8_t path_type) { return NameOrNumber(path_type, kPathTypeNames); }

std::string UsbTypeText(std::uint8_t usb_type) { return NameOrNumber(usb_type, kUsbTypeNames); }

std::string FirmwareText(std::uint8_t version) { return Hex(version); }

}  // namespace qp40::ctl
