// A profile image, a burst table and a string unit table: every key's label, every string read
// and freed, every burst entry read and freed, in both string layouts. Bytes after the tables
// fill the long-string slot block that the block layout reads from the keypad.

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "link/keypad_link.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace {

using namespace qp40;

// Longest label a key's tooltip may show: a shortcut with every modifier and two key names.
constexpr std::size_t kMaxFullLabelLength = 128;

// Long strings of the block layout are read from the keypad a block at a time; a few per input
// cover that path without making every run read dozens of blocks.
constexpr int kSlotReadsPerInput = 2;

constexpr std::size_t kInputTables = kProfileImageSize + 2 * kTextTableSize;

std::span<const std::uint8_t, kTextEntrySize> UnitOf(const StringUnitTable& table,
                                                     std::size_t unit) {
  return std::span(table).subspan(unit * kTextEntrySize).first<kTextEntrySize>();
}

// The virtual keypad the block layout reads its long strings from. It lives for the whole run:
// reading never changes it, and each input writes the slot block it reads first.
struct SlotKeypad {
  SlotKeypad() {
    keypad.SetRecordRequests(false);
    log.SetSink(&sink);
    QP40_REQUIRE(link.AttachKeypad());
  }
  fuzz::NoonClock clock;
  fuzz::CountingNotifier notifier;
  fuzz::DiscardingSink sink;
  Log log{clock, notifier};
  sim::VirtualKeypad keypad;
  sim::SimTransport transport{keypad};
  KeypadLink link{transport, log, notifier};
};

SlotKeypad& Slots() {
  static SlotKeypad slots;
  return slots;
}

std::string TextUpToZero(std::span<const std::uint8_t> bytes) {
  return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

void CheckChainedStrings(const StringUnitTable& table) {
  for (unsigned unit = 0; unit <= kTextEntryCount; ++unit) {
    const std::vector<std::uint8_t> chain = StringChain(table, unit);
    QP40_REQUIRE(chain.size() <= kMaxChainUnits);
    QP40_REQUIRE(chain.empty() == (unit >= kTextEntryCount));
    QP40_REQUIRE(chain.empty() || chain.front() == unit);
    std::bitset<kTextEntryCount> seen;
    for (std::uint8_t member : chain) {
      QP40_REQUIRE(!seen[member]);
      seen[member] = true;
    }
    const std::optional<std::string> text = ReadChainedString(table, unit);
    QP40_REQUIRE(text.has_value() ==
                 (unit < kTextEntryCount && UnitOf(table, unit)[kUnitMark] == kUnitInUse));
    if (text) {
      QP40_REQUIRE(text->size() <= kMaxStringLength);
      QP40_REQUIRE(text->find('\0') == std::string::npos);
    }
  }
}

void CheckBlockStrings(const Configuration& config, std::span<const std::uint8_t> slot_bytes) {
  SlotKeypad& slots = Slots();
  int slot_reads = 0;
  for (unsigned unit = 0; unit <= kTextEntryCount; ++unit) {
    const bool in_table = unit < kTextEntryCount;
    const std::uint8_t length = in_table ? UnitOf(config.string_unit_table, unit)[kUnitLength] : 0;
    const bool long_in_slot = length > kShortStringLimit && unit < kBlockFormatUnits;
    std::optional<std::string> expected;
    if (long_in_slot) {
      if (slot_reads == kSlotReadsPerInput) {
        continue;
      }
      ++slot_reads;
      const auto block = static_cast<std::uint8_t>(kLongStringBlockFirst + unit / kSlotsPerBlock);
      const auto memory = slots.keypad.BlockData(block);
      std::copy_n(slot_bytes.begin(), std::min(slot_bytes.size(), memory.size()), memory.begin());
      const auto slot = std::span<const std::uint8_t>(memory).subspan(
          (unit % kSlotsPerBlock) * kSlotSizeBytes, kSlotSizeBytes);
      expected = TextUpToZero(slot.subspan(kUnitText));
    } else if (in_table && length != 0 && length <= kShortStringLimit) {
      expected = TextUpToZero(UnitOf(config.string_unit_table, unit).subspan(kUnitText));
    }
    QP40_REQUIRE(ReadString(config, slots.link, unit) == expected);
  }
}

// Frees every string in turn: each one clears exactly the units of its chain.
void CheckFreeEveryString(StringUnitTable table) {
  fuzz::Surroundings env;
  for (unsigned unit = 0; unit <= kTextEntryCount; ++unit) {
    StringUnitTable expected = table;
    for (std::uint8_t member : StringChain(table, unit)) {
      std::fill_n(expected.begin() + member * kTextEntrySize, kTextEntrySize, 0);
    }
    FreeString(table, unit, env.log);
    QP40_REQUIRE(table == expected);
  }
  // Every unit starts a chain of its own, so nothing is left.
  QP40_REQUIRE(std::all_of(table.begin(), table.end(), [](std::uint8_t b) { return b == 0; }));
}

void CheckUnitAllocation(const StringUnitTable& table, StringFormat format) {
  const std::size_t free_units = FreeStringUnits(table, format);
  const std::optional<std::uint8_t> unit = AllocateStringUnit(table, format);
  QP40_REQUIRE(unit.has_value() == (free_units > 0));
  if (unit) {
    QP40_REQUIRE(UnitOf(table, *unit)[kUnitMark] != kUnitInUse);
    QP40_REQUIRE(format == StringFormat::kChained ? *unit >= 1 : *unit < kBlockFormatUnits);
  }
}

void CheckBurstTable(BurstTable table) {
  for (unsigned index = 0; index < kTextEntryCount; ++index) {
    QP40_REQUIRE(ReadBurstText(table, static_cast<std::uint8_t>(index)).size() <= kTextEntrySize);
  }
  const std::optional<std::uint8_t> free_entry = AllocateBurstEntry(table);
  if (free_entry) {
    QP40_REQUIRE(table[std::size_t{*free_entry} * kTextEntrySize] == kFreeBurstEntry);
  }
  std::vector<unsigned> indexes(kTextEntryCount);
  for (unsigned index = 0; index < kTextEntryCount; ++index) {
    indexes[index] = index;
  }
  // Past the table, as a key without a burst entry holds it: nothing changes.
  indexes.insert(indexes.end(), {kTextEntryCount, kTextEntryCount + 1, kNoBurstEntry});
  for (const unsigned index : indexes) {
    BurstTable expected = table;
    if (index < kTextEntryCount) {
      expected[index * kTextEntrySize] = kFreeBurstEntry;
    }
    FreeBurstEntry(table, index);
    QP40_REQUIRE(table == expected);
  }
  QP40_REQUIRE(AllocateBurstEntry(table) == std::optional<std::uint8_t>(0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  bytes.resize(std::max(size, kInputTables));
  const std::span<const std::uint8_t> input(bytes);

  Configuration config;
  std::copy_n(input.begin(), kProfileImageSize, config.profile_image.begin());
  std::copy_n(input.begin() + kProfileImageSize, kTextTableSize, config.burst_table.begin());
  std::copy_n(input.begin() + kProfileImageSize + kTextTableSize, kTextTableSize,
              config.string_unit_table.begin());
  const std::span<const std::uint8_t> slot_bytes = input.subspan(kInputTables);

  ReadKeyCodeMap(config);
  for (std::uint8_t profile = 0; profile < kProfileCount; ++profile) {
    config.current_profile = profile;
    FillWorkingCopy(config, profile);
    fuzz::CheckEveryLabel(config);
  }
  // Every slot of every profile, whether the key code map names it or not, with its tooltip.
  for (std::uint8_t profile = 0; profile < kProfileCount; ++profile) {
    for (unsigned code = 0; code <= kLastSlotKeyCode; ++code) {
      const KeyActionRecord record =
          ReadSlot(config.profile_image, profile, static_cast<std::uint8_t>(code));
      const std::string full = FullKeyLabel(record, config.burst_table, config.string_unit_table);
      QP40_REQUIRE(full.size() <= kMaxFullLabelLength);
      QP40_REQUIRE(KeyLabel(record, config.burst_table, config.string_unit_table) ==
                   full.substr(0, kKeyLabelLength));
    }
  }

  for (const StringFormat format : {StringFormat::kChained, StringFormat::kBlock}) {
    config.working_profile[kWorkingSettingsOffset + kSettingFirmware] =
        format == StringFormat::kChained ? kFirmwareNewStrings : 0x00;
    QP40_REQUIRE(StringFormatOf(config) == format);
    CheckUnitAllocation(config.string_unit_table, format);
    if (format == StringFormat::kChained) {
      CheckChainedStrings(config.string_unit_table);
      for (unsigned unit = 0; unit <= kTextEntryCount; ++unit) {
        QP40_REQUIRE(ReadString(config, Slots().link, unit) ==
                     ReadChainedString(config.string_unit_table, unit));
      }
    } else {
      CheckBlockStrings(config, slot_bytes);
    }
  }
  CheckFreeEveryString(config.string_unit_table);
  CheckBurstTable(config.burst_table);
  return 0;
}
