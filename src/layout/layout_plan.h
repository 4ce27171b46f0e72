#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "keys/board_layout.h"
#include "layout/layout_file.h"

namespace qp40 {

// Which parts of a layout file an import takes.
struct LayoutPlanScope {
  // Only this profile (0..3): its settings and keys. All four when empty.
  std::optional<std::uint8_t> profile;
  // The file's macros replace those the keypad holds; otherwise they are left alone.
  bool macros = true;
};

// The settings bytes an import takes from a file: board, path, USB type and the three features.
// The firmware byte and the bytes after the features stay as the keypad holds them.
inline constexpr std::size_t kImportedSettingsBytes = 6;

// What the keypad holds once `file` is put over `held` within `scope`: the chosen profiles'
// settings (kImportedSettingsBytes of them) and the keys of the grid positions that have a slot;
// the file's macros when `scope.macros`, a macro the file leaves out staying as it is (so a file
// written without macros never erases any). Chords and the identity are the held ones: the
// keypad keeps no chords.
Layout PlanLayout(const Layout& held, const Layout& file, const LayoutPlanScope& scope,
                  const std::array<bool, kGridKeyCount>& has_slot);

}  // namespace qp40
