#include "layout/layout_plan.h"

#include <algorithm>

namespace qp40 {

Layout PlanLayout(const Layout& held, const Layout& file, const LayoutPlanScope& scope,
                  const std::array<bool, kGridKeyCount>& has_slot) {
  Layout planned = held;
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    if (scope.profile && *scope.profile != profile) continue;
    const LayoutProfile& from = file.profiles[profile];
    LayoutProfile& to = planned.profiles[profile];
    std::copy_n(from.settings.begin(), kImportedSettingsBytes, to.settings.begin());
    for (std::size_t key = 0; key < kGridKeyCount; ++key) {
      if (has_slot[key]) to.keys[key] = from.keys[key];
    }
  }
  if (scope.macros && !scope.profile) {
    for (const auto& [number, macro] : file.macros) planned.macros[number] = macro;
  }
  return planned;
}

}  // namespace qp40
