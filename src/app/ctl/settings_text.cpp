#include "app/ctl/settings_text.h"

#include "keys/board_layout.h"
#include "keys/board_settings_names.h"
#include "log/text_format.h"

namespace qp40::ctl {
namespace {

std::string Hex(std::uint8_t value) { return FormatText("0x%02x", value); }

std::string NameOrNumber(const BoardSettingList& list, std::uint8_t value) {
  const BoardSettingChoice* choice = list.Find(value);
  return choice != nullptr ? choice->name : "unknown (" + std::to_string(value) + ")";
}

}  // namespace

std::string BoardTypeText(std::uint8_t board_code) {
  if (const BoardSettingChoice* choice = BoardTypeList().Find(board_code)) return choice->name;
  // The window lays every other code out as the 48-key board.
  return std::string(BoardTypeList().Find(kBoard48Keys)->name) + " (code " + Hex(board_code) + ")";
}

std::string PathTypeText(std::uint8_t path_type) { return NameOrNumber(PathTypeList(), path_type); }

std::string UsbTypeText(std::uint8_t usb_type) { return NameOrNumber(UsbTypeList(), usb_type); }

std::string FirmwareText(std::uint8_t version) { return Hex(version); }

}  // namespace qp40::ctl
