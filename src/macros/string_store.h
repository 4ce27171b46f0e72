#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/keypad_link.h"
#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"

namespace qp40 {

// How strings are laid out, chosen by the keypad's firmware version byte.
enum class StringFormat {
  kChained,  // firmware 0xFF: 12 characters per unit, units linked into a chain
  kBlock,    // older firmware: short strings in their unit, long ones in a 256-byte slot
};

StringFormat StringFormatOf(const Configuration& config);

inline constexpr std::size_t kMaxStringLength = 252;
inline constexpr std::size_t kCharsPerUnit = 12;
inline constexpr std::size_t kMaxChainUnits = kMaxStringLength / kCharsPerUnit;  // 21
inline constexpr std::uint8_t kUnitInUse = 0xAA;
inline constexpr std::uint8_t kUnitContinues = 0xFA;
// What the key dialog holds for a key without a string: any value above 255.
inline constexpr unsigned kNoString = 0x100;

// Unit bytes.
inline constexpr std::size_t kUnitMark = 0;
inline constexpr std::size_t kUnitLength = 1;
inline constexpr std::size_t kUnitText = 2;
inline constexpr std::size_t kUnitContinuation = 14;
inline constexpr std::size_t kUnitNext = 15;

// The block format's long-string slots: unit u in block 34 + u / 8 at offset 256 * (u mod 8).
inline constexpr std::size_t kBlockFormatUnits = 128;
inline constexpr std::size_t kSlotsPerBlock = 8;
inline constexpr std::size_t kSlotSizeBytes = kBlockSize / kSlotsPerBlock;
inline constexpr std::size_t kShortStringLimit = 11;  // longer strings take a slot

inline constexpr std::string_view kStringFullLog = "No space for String Data,";
inline constexpr std::string_view kStringFullMessage =
    "Error: Space of string is full\xEF\xBC\x8C Please restore factory setting to free space.";
inline constexpr std::string_view kStringBlockUnreadableMessage =
    "Error: The string data could not be read from the keypad, the string is not stored.";
inline constexpr std::string_view kStringBlockWriteFailedMessage =
    "Error: The string data could not be written to the keypad, the string is not stored.";

// How many units a new string may still take: free units of 1..255 in the chained format, of
// 0..127 in the block format.
std::size_t FreeStringUnits(const StringUnitTable& table, StringFormat format);

// The lowest free unit: 1..255 in the chained format, 0..127 in the block format; nothing when
// every unit is in use.
std::optional<std::uint8_t> AllocateStringUnit(const StringUnitTable& table, StringFormat format);

// The units a string starting at `unit` occupies, in chain order: at most kMaxChainUnits, never
// a unit twice, and ending where a link is broken.
std::vector<std::uint8_t> StringChain(const StringUnitTable& table, unsigned unit);

// Stores `text` (cut to 252 characters) in the format the firmware selects and returns its
// string number, the index of its first unit. Characters outside printable ASCII are replaced.
// The chained format only changes the unit table (it reaches the keypad with the next profile
// save); the block format writes a long string's slot block to the keypad at once. An empty
// text in the block format stores nothing and returns 0. When there is no room, or the slot
// block cannot be read, the log and a message box say so, nothing changes and nothing is
// returned.
std::optional<std::uint8_t> StoreString(Configuration& config, KeypadLink& link,
                                        std::string_view text, Log& log, Notifier& notifier);

// Frees the string starting at `unit`, one log line per unit; `unit` above 255 is ignored.
void FreeString(StringUnitTable& table, unsigned unit, Log& log);

// The text of the string starting at `unit` in the chained format, or nothing when the unit is
// not in use. A broken or circular chain gives the text up to the break.
std::optional<std::string> ReadChainedString(const StringUnitTable& table, unsigned unit);

// The text of the string starting at `unit` in the format the firmware selects; the block
// format reads a long string's slot block from the keypad, and gives nothing when a page of it
// cannot be read.
std::optional<std::string> ReadString(const Configuration& config, KeypadLink& link, unsigned unit);

// What the key dialog does when the user confirms a string key: frees the key's old string
// (`held_unit`, or kNoString) and stores `text`. When the new text does not fit, even with the
// old string's units, the user is told and the old string stays as it was.
std::optional<std::uint8_t> ReplaceString(Configuration& config, KeypadLink& link,
                                          unsigned held_unit, std::string_view text, Log& log,
                                          Notifier& notifier);

}  // namespace qp40
