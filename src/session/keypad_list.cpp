#include "session/keypad_list.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "link/keypad_link.h"
#include "log/text_format.h"
#include "memory_map/memory_map.h"

namespace qp40 {
namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

void ReadDetails(ListedKeypad& keypad, Transport& transport, Log& log, Notifier& notifier) {
  KeypadLink link(transport, log, notifier);
  if (link.OpenKeypad(keypad.path) != OpenError::kNone) return;
  if (link.ReadDeviceId()) keypad.identity = link.GetDeviceId();
  // The firmware version is a board setting of User Profile 1, which the profile block holds.
  std::array<std::uint8_t, kBlockSize> block{};
  if (link.ReadBlock(kProfileBlock, block) == 0) {
    keypad.firmware_version = block.at(kSettingsOffset + kSettingFirmware);
  }
  link.CloseKeypad();
}

}  // namespace

KeypadList FindKeypadList(Transport& transport, Log& log, Notifier& notifier) {
  KeypadLink link(transport, log, notifier);
  KeypadList list;
  list.found = link.FindKeypads(kKeypadVendorId, kKeypadProductId);
  const std::size_t listed =
      std::min(static_cast<std::size_t>(std::max(list.found, 0)), KeypadLink::kMaxMatchingPaths);
  for (std::size_t i = 0; i < listed; ++i) {
    ListedKeypad keypad;
    keypad.number = static_cast<int>(i) + 1;
    keypad.path = link.MatchingPaths().at(i);
    list.keypads.push_back(keypad);
  }
  return list;
}

void ReadKeypadDetails(KeypadList& list, Transport& transport, Log& log, Notifier& notifier,
                       const std::string& skip_path) {
  for (ListedKeypad& keypad : list.keypads) {
    if (!skip_path.empty() && keypad.path == skip_path) continue;
    ReadDetails(keypad, transport, log, notifier);
  }
  MarkSharedIdentities(list);
}

void MarkSharedIdentities(KeypadList& list) {
  for (ListedKeypad& keypad : list.keypads) {
    keypad.shared_identity =
        keypad.identity.has_value() && std::count_if(list.keypads.begin(), list.keypads.end(),
                                                     [&keypad](const ListedKeypad& other) {
                                                       return other.identity == keypad.identity;
                                                     }) > 1;
  }
}

std::string IdentityHex(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) text += FormatText("%02x", byte);
  return text;
}

std::string IdentityText(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) {
    if (!text.empty()) text += ' ';
    text += FormatText("%02x", byte);
  }
  return text;
}

std::optional<DeviceId> ParseIdentity(std::string_view text) {
  DeviceId identity{};
  std::size_t digits = 0;
  for (const char c : text) {
    if (c == ' ' || c == ':' || c == '-') continue;
    const std::optional<int> value = HexDigit(c);
    if (!value || digits >= identity.size() * 2) return std::nullopt;
    std::uint8_t& byte = identity.at(digits / 2);
    byte = static_cast<std::uint8_t>((byte << 4U) | static_cast<unsigned>(*value));
    ++digits;
  }
  if (digits != identity.size() * 2) return std::nullopt;
  return identity;
}

std::string KeypadListText(const KeypadList& list) {
  std::string text;
  for (const ListedKeypad& keypad : list.keypads) {
    text += FormatText("%d  ", keypad.number);
    text += keypad.identity ? IdentityHex(*keypad.identity) : std::string(32, '?');
    text += keypad.firmware_version ? FormatText("  firmware 0x%02x  ", *keypad.firmware_version)
                                    : std::string("  firmware ?     ");
    text += keypad.path;
    if (keypad.shared_identity) text += "  (identity shared: choose it by its path)";
    text += "\n";
  }
  if (list.found > static_cast<int>(list.keypads.size())) {
    text += FormatText("%d keypads found; only the first %d are listed and can be chosen\n",
                       list.found, static_cast<int>(list.keypads.size()));
  }
  return text;
}

}  // namespace qp40
