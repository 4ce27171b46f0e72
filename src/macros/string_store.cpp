#include "macros/string_store.h"

#include <algorithm>
#include <bitset>
#include <span>

#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr char kChainedReplacement = '?';
constexpr char kBlockReplacement = ' ';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

using Unit = std::span<std::uint8_t, kTextEntrySize>;
using ConstUnit = std::span<const std::uint8_t, kTextEntrySize>;

Unit UnitAt(StringUnitTable& table, std::size_t unit) {
  return std::span(table).subspan(unit * kTextEntrySize).first<kTextEntrySize>();
}

ConstUnit UnitAt(const StringUnitTable& table, std::size_t unit) {
  return std::span(table).subspan(unit * kTextEntrySize).first<kTextEntrySize>();
}

bool IsPrintable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= kFirstPrintable && byte <= kLastPrintable;
}

struct UnitRange {
  std::size_t first;
  std::size_t end;
};

// Units 1..255 in the chained format (unit 0 is never handed out), 0..127 in the block format.
UnitRange AllocatableUnits(StringFormat format) {
  return format == StringFormat::kChained ? UnitRange{1, kTextEntryCount}
                                          : UnitRange{0, kBlockFormatUnits};
}

std::size_t UnitsNeeded(StringFormat format, std::size_t length) {
  length = std::min(length, kMaxStringLength);
  if (format == StringFormat::kBlock) {
    return length == 0 ? 0 : 1;
  }
  return std::max<std::size_t>(1, (length + kCharsPerUnit - 1) / kCharsPerUnit);
}

// Whether a string of `length` characters fits once the units in `releasing` are freed.
bool HasRoom(const StringUnitTable& table, StringFormat format, std::size_t length,
             const std::vector<std::uint8_t>& releasing) {
  const UnitRange range = AllocatableUnits(format);
  std::size_t free_units = FreeStringUnits(table, format);
  for (std::uint8_t unit : releasing) {
    if (unit >= range.first && unit < range.end && UnitAt(table, unit)[kUnitMark] == kUnitInUse) {
      ++free_units;
    }
  }
  return free_units >= UnitsNeeded(format, length);
}

void ReportFull(Log& log, Notifier& notifier) {
  log.AppendLog(kStringFullLog);
  notifier.ShowMessage(kStringFullMessage);
}

std::uint8_t StoreChained(StringUnitTable& table, std::string_view text, Log& log) {
  const std::size_t n = std::min(text.size(), kMaxStringLength);
  std::uint8_t current = *AllocateStringUnit(table, StringFormat::kChained);
  const std::uint8_t first = current;
  Unit unit = UnitAt(table, current);
  std::fill(unit.begin(), unit.end(), 0);
  unit[kUnitMark] = kUnitInUse;
  unit[kUnitLength] = static_cast<std::uint8_t>(n);
  log.AppendLog(FormatText("String Create: First UNIT = 0x%2x ", first));

  for (std::size_t done = 0; done < n;) {
    unit = UnitAt(table, current);
    const std::size_t remaining = n - done;
    unit[kUnitMark] = kUnitInUse;
    unit[kUnitLength] = static_cast<std::uint8_t>(remaining);
    const std::size_t count = std::min(remaining, kCharsPerUnit);
    for (std::size_t i = 0; i < count; ++i) {
      char c = text[done + i];
      if (!IsPrintable(c)) {
        log.AppendLog(FormatText("wrong ASCII code = %2x", static_cast<unsigned char>(c)));
        c = kChainedReplacement;
      }
      unit[kUnitText + i] = static_cast<std::uint8_t>(c);
    }
    done += count;
    if (remaining <= kCharsPerUnit) {
      std::fill(unit.begin() + static_cast<std::ptrdiff_t>(kUnitText + count), unit.end(), 0);
      break;
    }
    unit[kUnitContinuation] = kUnitContinues;
    current = *AllocateStringUnit(table, StringFormat::kChained);
    unit[kUnitNext] = current;
    log.AppendLog(FormatText("Next UNIT = %2x", current));
  }
  return first;
}

void CopyReplacing(std::span<std::uint8_t> destination, std::string_view text) {
  for (std::size_t i = 0; i < text.size() && i < destination.size(); ++i) {
    destination[i] = static_cast<std::uint8_t>(IsPrintable(text[i]) ? text[i] : kBlockReplacement);
  }
}

std::uint8_t SlotBlock(std::size_t unit) {
  return static_cast<std::uint8_t>(kLongStringBlockFirst + unit / kSlotsPerBlock);
}

std::optional<std::uint8_t> StoreInBlockFormat(StringUnitTable& table, KeypadLink& link,
                                               std::string_view text, Log& log,
                                               Notifier& notifier) {
  const std::size_t n = std::min(text.size(), kMaxStringLength);
  const std::uint8_t u = *AllocateStringUnit(table, StringFormat::kBlock);
  log.AppendLog(FormatText("String Create UNIT = %d ", u));

  if (n > kShortStringLimit) {
    const std::uint8_t block = SlotBlock(u);
    const std::size_t slot = u % kSlotsPerBlock;
    log.AppendLog(FormatText("String Create UNIT = %d , Block=%d,  bufferID=%d, ", u, block,
                             static_cast<int>(slot)));
    Block buffer{};
    // Writing back a block with unread pages would wipe the other strings that live in it.
    if (link.ReadBlock(block, buffer) != 0) {
      notifier.ShowMessage(kStringBlockUnreadableMessage);
      return std::nullopt;
    }
    const auto bytes = std::span(buffer).subspan(slot * kSlotSizeBytes, kSlotSizeBytes);
    std::fill(bytes.begin(), bytes.end(), 0);
    bytes[kUnitMark] = kUnitInUse;
    bytes[kUnitLength] = static_cast<std::uint8_t>(n);
    CopyReplacing(bytes.subspan(kUnitText), text.substr(0, n));
    const bool prepared = link.PrepareBlock(block);
    if (link.WriteBlock(block, buffer) != 0 || !prepared) {
      notifier.ShowMessage(kStringBlockWriteFailedMessage);
      return std::nullopt;
    }
  }

  Unit unit = UnitAt(table, u);
  std::fill(unit.begin(), unit.end(), 0);
  unit[kUnitMark] = kUnitInUse;
  const std::size_t in_unit = std::min(n, kCharsPerUnit);
  unit[kUnitLength] = static_cast<std::uint8_t>(in_unit);
  CopyReplacing(unit.subspan(kUnitText, kCharsPerUnit), text.substr(0, in_unit));
  return u;
}

// Bytes up to the first 0 byte.
std::string TextUpToZero(std::span<const std::uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

}  // namespace

StringFormat StringFormatOf(const Configuration& config) {
  return config.working_profile[kWorkingSettingsOffset + kSettingFirmware] == kFirmwareNewStrings
             ? StringFormat::kChained
             : StringFormat::kBlock;
}

std::size_t FreeStringUnits(const StringUnitTable& table, StringFormat format) {
  const UnitRange range = AllocatableUnits(format);
  std::size_t free_units = 0;
  for (std::size_t unit = range.first; unit < range.end; ++unit) {
    if (UnitAt(table, unit)[kUnitMark] != kUnitInUse) {
      ++free_units;
    }
  }
  return free_units;
}

std::optional<std::uint8_t> AllocateStringUnit(const StringUnitTable& table, StringFormat format) {
  const UnitRange range = AllocatableUnits(format);
  for (std::size_t unit = range.first; unit < range.end; ++unit) {
    if (UnitAt(table, unit)[kUnitMark] != kUnitInUse) {
      return static_cast<std::uint8_t>(unit);
    }
  }
  return std::nullopt;
}

std::vector<std::uint8_t> StringChain(const StringUnitTable& table, unsigned unit) {
  std::vector<std::uint8_t> chain;
  std::bitset<kTextEntryCount> seen;
  while (unit < kTextEntryCount && !seen[unit] && chain.size() < kMaxChainUnits) {
    seen[unit] = true;
    chain.push_back(static_cast<std::uint8_t>(unit));
    const ConstUnit bytes = UnitAt(table, unit);
    if (bytes[kUnitNext] == 0 || bytes[kUnitContinuation] != kUnitContinues) {
      break;
    }
    unit = bytes[kUnitNext];
  }
  return chain;
}

std::optional<std::uint8_t> StoreString(Configuration& config, KeypadLink& link,
                                        std::string_view text, Log& log, Notifier& notifier) {
  const StringFormat format = StringFormatOf(config);
  StringUnitTable& table = config.string_unit_table;
  log.AppendLog(text);
  if (format == StringFormat::kBlock && text.empty()) {
    return 0;
  }
  if (!HasRoom(table, format, text.size(), {})) {
    ReportFull(log, notifier);
    return std::nullopt;
  }
  if (format == StringFormat::kChained) {
    return StoreChained(table, text, log);
  }
  return StoreInBlockFormat(table, link, text, log, notifier);
}

void FreeString(StringUnitTable& table, unsigned unit, Log& log) {
  for (std::uint8_t member : StringChain(table, unit)) {
    log.AppendLog(FormatText("Free String Flash Sector ID = %2x", member));
    const Unit bytes = UnitAt(table, member);
    std::fill(bytes.begin(), bytes.end(), 0);
  }
}

std::optional<std::string> ReadChainedString(const StringUnitTable& table, unsigned unit) {
  if (unit >= kTextEntryCount || UnitAt(table, unit)[kUnitMark] != kUnitInUse) {
    return std::nullopt;
  }
  std::string text;
  std::bitset<kTextEntryCount> seen;
  for (std::size_t count = 0; count < kMaxChainUnits; ++count) {
    seen[unit] = true;
    const ConstUnit bytes = UnitAt(table, unit);
    text += TextUpToZero(bytes.subspan(kUnitText, kCharsPerUnit));
    if (text.size() < (count + 1) * kCharsPerUnit || bytes[kUnitLength] <= kCharsPerUnit) {
      break;
    }
    const std::uint8_t next = bytes[kUnitNext];
    if (seen[next] || UnitAt(table, next)[kUnitMark] != kUnitInUse) {
      break;
    }
    unit = next;
  }
  return text;
}

std::optional<std::string> ReadString(const Configuration& config, KeypadLink& link,
                                      unsigned unit) {
  if (StringFormatOf(config) == StringFormat::kChained) {
    return ReadChainedString(config.string_unit_table, unit);
  }
  if (unit >= kTextEntryCount) {
    return std::nullopt;
  }
  const ConstUnit bytes = UnitAt(config.string_unit_table, unit);
  const std::uint8_t length = bytes[kUnitLength];
  if (length == 0) {
    return std::nullopt;
  }
  if (length <= kShortStringLimit) {
    return TextUpToZero(bytes.subspan(kUnitText));
  }
  if (unit >= kBlockFormatUnits) {
    return std::nullopt;
  }
  Block buffer{};
  // A page that could not be read would cut the text short, and a key that keeps a cut text
  // loses the rest when it is stored again.
  if (link.ReadBlock(SlotBlock(unit), buffer) != 0) {
    return std::nullopt;
  }
  const auto slot =
      std::span(buffer).subspan((unit % kSlotsPerBlock) * kSlotSizeBytes, kSlotSizeBytes);
  return TextUpToZero(slot.subspan(kUnitText));
}

std::optional<std::uint8_t> ReplaceString(Configuration& config, KeypadLink& link,
                                          unsigned held_unit, std::string_view text, Log& log,
                                          Notifier& notifier) {
  StringUnitTable& table = config.string_unit_table;
  const StringFormat format = StringFormatOf(config);
  if (!HasRoom(table, format, text.size(), StringChain(table, held_unit))) {
    ReportFull(log, notifier);
    return std::nullopt;
  }
  const StringUnitTable before = table;
  FreeString(table, held_unit, log);
  const std::optional<std::uint8_t> number = StoreString(config, link, text, log, notifier);
  if (!number) {
    table = before;
  }
  return number;
}

}  // namespace qp40
