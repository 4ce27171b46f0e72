#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "layout/layout_file.h"
#include "model/configuration.h"

namespace qp40 {

// The configuration a layout file stands for, worked out without a keypad: the layout put over
// the factory configuration of a keypad in memory, in the chained string format (a layout holds
// its texts, whatever format the keypad it came from had).
struct LayoutConfiguration {
  std::optional<Configuration> config;
  std::vector<std::string> problems;  // why there is none, each with its place
};

LayoutConfiguration ConfigurationOfLayout(const Layout& layout);

// The scripts of a layout's macros as the macro editor lists them (CR LF line ends), by number;
// nothing for a macro kept as bytes that does not list.
std::map<int, std::optional<std::string>> LayoutMacroScripts(const Layout& layout);

}  // namespace qp40
