// The cheat sheet of a full configuration: four profiles with the appendix. Every key is a
// string, burst or macro key, the strings take the whole unit table, all 32 macros hold a
// 254-line script and all 32 chords are set, so the sheet is as long as a keypad's can be.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/burst_store.h"
#include "macros/macro_listing.h"
#include "macros/script_compiler.h"
#include "macros/script_reader.h"
#include "macros/string_store.h"
#include "memory_map/memory_map.h"
#include "model/configuration.h"
#include "picture/cheat_sheet.h"

namespace {

using qp40::Configuration;

constexpr std::size_t kUnitBytes = 16;
constexpr std::size_t kUnitTextBytes = 12;
constexpr std::size_t kStringsOfFullLength = 12;  // 12 strings of 21 units fill 252 units

constexpr std::array<std::string_view, 6> kScriptLines = {
    "press a  b  c  20", "release         a    32  ", "click Enter 40",
    "delay 200",         "press M_Left -20 -30 100",  "jump 01 20",
};

std::string FullScript() {
  std::string script;
  for (std::size_t line = 0; line + 1 < qp40::kMaxCommandLine; ++line) {
    script += kScriptLines[line % kScriptLines.size()];
    script += "\r\n";
  }
  return script;
}

// A chained string of 252 characters from `first_unit` on, with markup characters in it.
void PutLongString(Configuration& config, std::size_t first_unit) {
  const std::string text = std::string(240, 'x') + "<a&b> \"q\" '";
  for (std::size_t part = 0; part * kUnitTextBytes < text.size(); ++part) {
    std::uint8_t* unit = &config.string_unit_table[(first_unit + part) * kUnitBytes];
    unit[0] = qp40::kUnitInUse;
    unit[1] = static_cast<std::uint8_t>(text.size() - part * kUnitTextBytes);
    const std::string_view piece = std::string_view(text).substr(part * kUnitTextBytes, 12);
    std::copy(piece.begin(), piece.end(), unit + 2);
    unit[14] = qp40::kUnitContinues;
    unit[15] = static_cast<std::uint8_t>(first_unit + part + 1);
  }
}

Configuration FullConfiguration() {
  Configuration config;
  for (std::size_t p = 0; p < qp40::kProfileCount; ++p) {
    for (std::size_t k = 0; k < qp40::kGridKeyCount; ++k) {
      config.profile_image[p * qp40::kProfileSize + qp40::kKeyCodeMapOffset + k] =
          qp40::kDefaultKeyCodeMap[k];
    }
    std::uint8_t* settings = &config.profile_image[p * qp40::kProfileSize + qp40::kSettingsOffset];
    settings[qp40::kSettingBoardType] = qp40::kBoard48Keys;
    settings[qp40::kSettingFirmware] = qp40::kFirmwareNewStrings;
  }
  qp40::ReadKeyCodeMap(config);
  for (std::size_t s = 0; s < kStringsOfFullLength; ++s) PutLongString(config, 1 + s * 21);
  for (std::size_t entry = 0; entry < qp40::kTextEntryCount; ++entry) {
    std::fill_n(&config.burst_table[entry * qp40::kTextEntrySize], qp40::kMaxBurstLength, 'b');
  }
  for (std::uint8_t p = 0; p < qp40::kProfileCount; ++p) {
    for (std::size_t k = 0; k < qp40::kGridKeyCount; ++k) {
      const auto n = static_cast<std::uint8_t>(p * qp40::kGridKeyCount + k);
      const std::uint8_t code = config.key_code_map[k];
      switch (k % 3) {
        case 0:
          qp40::WriteSlot(config.profile_image, p, code,
                          {qp40::kActionString, 0x11, 8,
                           static_cast<std::uint8_t>(1 + (n % kStringsOfFullLength) * 21)});
          break;
        case 1:
          qp40::WriteSlot(config.profile_image, p, code, {qp40::kActionBurst, 0x22, 0, n});
          break;
        default:
          qp40::WriteSlot(config.profile_image, p, code,
                          {qp40::kActionMacro, static_cast<std::uint8_t>(n % 32), 0, 2});
      }
    }
  }
  qp40::FillWorkingCopy(config, 0);
  return config;
}

qp40::CheatSheetExtras FullExtras() {
  qp40::CheatSheetExtras extras;
  const std::string script = FullScript();
  for (int macro = 0; macro < qp40::kMacroCount; ++macro) {
    const qp40::CompileResult compiled =
        qp40::CompileScript(script, static_cast<std::uint8_t>(macro));
    extras.macro_scripts[macro] = qp40::ListMacro(compiled.buffer);
  }
  qp40::ChordTable chords{};
  for (std::size_t i = 0; i < chords.size(); ++i) {
    chords[i] = {0x04, static_cast<std::uint8_t>(0x05 + i), 0x03, 0x06, 0x07, 0x08, 0x09, 0x0A};
  }
  extras.chords = chords;
  return extras;
}

void BM_RenderFourProfilesWithAppendix(benchmark::State& state) {
  const Configuration config = FullConfiguration();
  const qp40::CheatSheetExtras extras = FullExtras();
  if (extras.macro_scripts.at(0).value_or("").empty()) {
    state.SkipWithError("the macro script does not list");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string svg = qp40::RenderCheatSheet(config, extras, {});
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderFourProfilesWithAppendix)->Unit(benchmark::kMillisecond);

}  // namespace
