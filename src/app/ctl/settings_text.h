#pragma once

#include <cstdint>
#include <string>

namespace qp40::ctl {

// Names of board-setting values, from the lists the window shows; unknown values are named
// with their number, so nothing read from a keypad is hidden.
std::string BoardTypeText(std::uint8_t board_code);
std::string PathTypeText(std::uint8_t path_type);
std::string UsbTypeText(std::uint8_t usb_type);
// Firmware version byte, e.g. "0xff".
std::string FirmwareText(std::uint8_t version);

}  // namespace qp40::ctl
