#include "macros/burst_store.h"

#include <algorithm>

namespace qp40 {

namespace {

constexpr unsigned char kFirstStoredChar = 1;
constexpr unsigned char kLastStoredChar = 127;

std::size_t EntryOffset(std::size_t index) { return index * kTextEntrySize; }

}  // namespace

std::optional<std::uint8_t> AllocateBurstEntry(const BurstTable& table) {
  for (std::size_t index = 0; index < kTextEntryCount; ++index) {
    if (table[EntryOffset(index)] == kFreeBurstEntry) {
      return static_cast<std::uint8_t>(index);
    }
  }
  return std::nullopt;
}

void FreeBurstEntry(BurstTable& table, unsigned index) {
  if (index < kTextEntryCount) {
    table[EntryOffset(index)] = kFreeBurstEntry;
  }
}

void WriteBurstText(BurstTable& table, std::uint8_t index, std::string_view text) {
  const std::size_t offset = EntryOffset(index);
  std::fill_n(table.begin() + static_cast<std::ptrdiff_t>(offset), kTextEntrySize, 0);
  const std::size_t length = std::min(text.size(), kMaxBurstLength);
  for (std::size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= kFirstStoredChar && c <= kLastStoredChar) {
      table[offset + i] = c;
    }
  }
}

std::string ReadBurstText(const BurstTable& table, std::uint8_t index) {
  std::string text;
  const std::size_t offset = EntryOffset(index);
  for (std::size_t i = 0; i < kTextEntrySize && table[offset + i] != 0; ++i) {
    text += static_cast<char>(table[offset + i]);
  }
  return text;
}

std::optional<std::uint8_t> ReplaceBurstText(BurstTable& table, unsigned held_index,
                                             std::string_view text, Log& log, Notifier& notifier) {
  std::optional<std::uint8_t> index = AllocateBurstEntry(table);
  // The key's own entry counts as free: it is released as the new text takes a place.
  if (held_index < kTextEntryCount && (!index || held_index < *index)) {
    index = static_cast<std::uint8_t>(held_index);
  }
  if (!index) {
    log.AppendLog(kBurstFullLog);
    notifier.ShowMessage(kBurstFullMessage);
    return std::nullopt;
  }
  FreeBurstEntry(table, held_index);
  WriteBurstText(table, *index, text);
  return index;
}

}  // namespace qp40
