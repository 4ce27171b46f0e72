#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "keys/key_action.h"
#include "macros/macro_record.h"
#include "macros/script_compiler.h"
#include "memory_map/memory_map.h"
#include "model/configuration.h"
#include "support/temp_folder.h"

namespace qp40::testing {

// A configuration with chained strings (firmware 0xFF), every profile on `board_code`, keys of
// the factory map and no key set.
inline Configuration BlankConfiguration(std::uint8_t board_code) {
  Configuration config;
  for (std::size_t p = 0; p < kProfileCount; ++p) {
    for (std::size_t k = 0; k < kGridKeyCount; ++k) {
      config.profile_image[p * kProfileSize + kKeyCodeMapOffset + k] = kDefaultKeyCodeMap[k];
    }
    config.profile_image[p * kProfileSize + kSettingsOffset + kSettingBoardType] = board_code;
    config.profile_image[p * kProfileSize + kSettingsOffset + kSettingFirmware] =
        kFirmwareNewStrings;
  }
  ReadKeyCodeMap(config);
  FillWorkingCopy(config, 0);
  return config;
}

// Puts `record` on row, column of `profile`, in the image and, for the profile on screen, in the
// working copy.
inline void SetKey(Configuration& config, std::uint8_t profile, int row, int column,
                   const KeyActionRecord& record) {
  const std::size_t position = GridPosition(row, column);
  WriteSlot(config.profile_image, profile, config.key_code_map[position], record);
  if (profile == config.current_profile) SetWorkingRecord(config.working_profile, position, record);
}

// Stores `text` as a chained string from `unit` on: 12 characters per unit, the next units
// following it.
inline void PutChainedString(Configuration& config, std::uint8_t unit, std::string_view text) {
  constexpr std::size_t kUnitBytes = 16;
  std::size_t at = 0;
  auto index = unit;
  do {
    const std::string_view part = text.substr(at, 12);
    std::uint8_t* bytes = &config.string_unit_table[std::size_t{index} * kUnitBytes];
    std::fill(bytes, bytes + kUnitBytes, 0);
    bytes[0] = 0xAA;
    bytes[1] = static_cast<std::uint8_t>(text.size() - at);
    std::copy(part.begin(), part.end(), bytes + 2);
    at += part.size();
    if (at < text.size()) {
      bytes[14] = 0xFA;
      bytes[15] = static_cast<std::uint8_t>(index + 1);
    }
    ++index;
  } while (at < text.size());
}

inline void PutBurst(Configuration& config, std::uint8_t entry, std::string_view text) {
  std::uint8_t* bytes = &config.burst_table[std::size_t{entry} * kTextEntrySize];
  std::fill(bytes, bytes + kTextEntrySize, 0);
  std::copy(text.begin(), text.end(), bytes);
}

inline MacroBuffer CompiledMacro(std::string_view script, std::uint8_t number) {
  const CompileResult compiled = CompileScript(script, number);
  EXPECT_EQ(compiled.status, CompileStatus::kCompiled) << script;
  return compiled.buffer;
}

// Whether xmllint accepts `document`; always true where xmllint cannot run (the Windows build's
// tests under Wine), so the check is made on Linux only.
inline ::testing::AssertionResult ParsesAsXml(const std::string& document) {
#ifdef _WIN32
  (void)document;
  return ::testing::AssertionSuccess();
#else
  TempFolder folder("qp40-svg-");
  const std::string path = folder.File("sheet.svg");
  std::ofstream(path, std::ios::binary) << document;
  const std::string command = "xmllint --noout '" + path + "' 2>&1";
  if (std::system(command.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "xmllint refuses the document";
#endif
}

}  // namespace qp40::testing
