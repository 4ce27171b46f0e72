#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chords/chord_table.h"
#include "keys/board_layout.h"
#include "keys/key_action.h"
#include "macros/macro_record.h"
#include "memory_map/memory_map.h"
#include "model/configuration.h"

namespace qp40 {

// The layout file (.qp40.json): the whole keypad as readable, canonical JSON. The same layout
// always gives the same bytes (stable order, two-space indent, LF, a final newline, one key row
// per line), so a one-key change is a one-line diff.

inline constexpr int kLayoutFormat = 1;
// Larger files are refused before they are read.
inline constexpr std::uintmax_t kMaxLayoutFileSize = std::uintmax_t{4} * 1024 * 1024;
inline constexpr std::string_view kMacroHexPrefix = "hex:";

// One profile: its board settings and its 48 keys as key expressions, in grid order.
struct LayoutProfile {
  std::array<std::uint8_t, kSettingsSize> settings{};
  std::array<std::string, kGridKeyCount> keys;

  bool operator==(const LayoutProfile&) const = default;
};

// A macro as script lines, or as the hex of its buffer when the script language cannot give
// that buffer back exactly.
struct LayoutMacro {
  std::vector<std::string> lines;
  std::optional<MacroBuffer> buffer;

  bool operator==(const LayoutMacro&) const = default;
};

struct Layout {
  std::array<LayoutProfile, kProfileCount> profiles;
  std::map<int, LayoutMacro> macros;  // by macro number 0..31; empty macros left out
  std::optional<ChordTable> chords;
  // Information only: never written to a keypad.
  std::string identity;

  bool operator==(const Layout&) const = default;
};

// The keypad text of a string or burst record, or nothing when it cannot be read.
using KeyTextLookup = std::function<std::optional<std::string>(const KeyActionRecord&)>;

// The texts of a configuration's tables: bursts, and strings in the chained format.
KeyTextLookup TableTexts(const Configuration& config);

// The layout of a configuration (every profile as ViewProfile shows it) with the macros read
// from the keypad (by number; a macro that is not ready is left out) and the chord table.
Layout MakeLayout(const Configuration& config, const KeyTextLookup& texts,
                  const std::map<int, MacroBuffer>& macros, const std::optional<ChordTable>& chords,
                  std::string identity);

// A macro's entry: its script lines when compiling them gives `buffer` back, else the buffer.
// Nothing for a macro that is not ready.
std::optional<LayoutMacro> MacroEntry(int macro_number, const MacroBuffer& buffer);

// The board settings as the layout file names them, in its order: each name with its value as
// JSON text ("board" "\"48 keys\"", "typing" "true", ...).
std::vector<std::pair<std::string, std::string>> SettingTexts(
    const std::array<std::uint8_t, kSettingsSize>& settings);

// The macro buffer a layout macro stands for: its hex buffer, or its script compiled for
// `macro_number`; nothing when the script does not compile.
std::optional<MacroBuffer> LayoutMacroBuffer(int macro_number, const LayoutMacro& macro);

// "hex:" and the buffer's bytes, as a macro kept as hex is written.
std::string LayoutMacroHex(const MacroBuffer& buffer);

// The canonical text of a layout.
std::string LayoutText(const Layout& layout);

// A layout read from text, or every problem found, each with its place.
struct LayoutParse {
  std::optional<Layout> layout;
  std::vector<std::string> problems;
};
LayoutParse ParseLayoutText(std::string_view text);

// Reads and parses a layout file; a folder, a device or a file over kMaxLayoutFileSize is
// refused without reading it.
LayoutParse ReadLayoutFile(const std::filesystem::path& path);

}  // namespace qp40
