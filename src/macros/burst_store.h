#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"

namespace qp40 {

// A burst entry holds up to 15 characters and the 0 byte after them.
inline constexpr std::size_t kMaxBurstLength = 15;
inline constexpr std::uint8_t kFreeBurstEntry = 0xFF;
// What the key dialog holds for a key without a burst entry.
inline constexpr unsigned kNoBurstEntry = 0xFFFF;

inline constexpr std::string_view kBurstFullLog =
    "No space for Burst Data, and deleted some item. Please check your configuration. ";
inline constexpr std::string_view kBurstFullMessage =
    "Error: Space of burst text is full, the new text is not stored.";

// The lowest free entry, or nothing when every entry is in use.
std::optional<std::uint8_t> AllocateBurstEntry(const BurstTable& table);

// Marks entry `index` free; indexes above 255 (kNoBurstEntry) are ignored.
void FreeBurstEntry(BurstTable& table, unsigned index);

// Fills entry `index` with the first 15 characters of `text`; a character outside 1..127
// leaves a 0 byte in its place.
void WriteBurstText(BurstTable& table, std::uint8_t index, std::string_view text);

// The text of entry `index`, up to its first 0 byte and never beyond the entry.
std::string ReadBurstText(const BurstTable& table, std::uint8_t index);

// What the key dialog does when the user confirms a burst key: frees the key's old entry
// (`held_index`, or kNoBurstEntry) and stores `text` in the lowest free entry. When the table is
// full it logs kBurstFullLog, shows kBurstFullMessage and returns nothing; the key then keeps
// its old entry and no entry that a key uses is ever taken.
std::optional<std::uint8_t> ReplaceBurstText(BurstTable& table, unsigned held_index,
                                             std::string_view text, Log& log, Notifier& notifier);

}  // namespace qp40
