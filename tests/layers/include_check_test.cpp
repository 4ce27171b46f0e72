// Every #include in src/ must stay within the layers its folder may use, and the core layers may
// include standard library headers only. The build links each layer only with the layers it may
// use, but a header-only use across layers would still compile; this test catches it and names
// the line.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace qp40 {
namespace {

namespace fs = std::filesystem;

struct LayerRule {
  std::string_view layer;
  std::vector<std::string_view> may_use;  // besides itself
  bool core;                              // standard library headers only
};

// The layer table of the build (CMakeLists.txt), the one place the layers are written.
const std::vector<LayerRule>& Rules() {
  static const std::vector<LayerRule> rules = {
#include "layer_table.inc"
  };
  return rules;
}

// The headers of the C++20 standard library, the only angle-bracket includes of the core.
constexpr auto kStandardHeaders = std::to_array<std::string_view>({
    "algorithm",
    "any",
    "array",
    "atomic",
    "barrier",
    "bit",
    "bitset",
    "cassert",
    "cctype",
    "cerrno",
    "cfenv",
    "cfloat",
    "charconv",
    "chrono",
    "cinttypes",
    "climits",
    "clocale",
    "cmath",
    "codecvt",
    "compare",
    "complex",
    "concepts",
    "condition_variable",
    "coroutine",
    "csetjmp",
    "csignal",
    "cstdarg",
    "cstddef",
    "cstdint",
    "cstdio",
    "cstdlib",
    "cstring",
    "ctime",
    "cuchar",
    "cwchar",
    "cwctype",
    "deque",
    "exception",
    "execution",
    "filesystem",
    "format",
    "forward_list",
    "fstream",
    "functional",
    "future",
    "initializer_list",
    "iomanip",
    "ios",
    "iosfwd",
    "iostream",
    "istream",
    "iterator",
    "latch",
    "limits",
    "list",
    "locale",
    "map",
    "memory",
    "memory_resource",
    "mutex",
    "new",
    "numbers",
    "numeric",
    "optional",
    "ostream",
    "queue",
    "random",
    "ranges",
    "ratio",
    "regex",
    "scoped_allocator",
    "semaphore",
    "set",
    "shared_mutex",
    "source_location",
    "span",
    "sstream",
    "stack",
    "stdexcept",
    "stop_token",
    "streambuf",
    "string",
    "string_view",
    "syncstream",
    "system_error",
    "thread",
    "tuple",
    "type_traits",
    "typeindex",
    "typeinfo",
    "unordered_map",
    "unordered_set",
    "utility",
    "valarray",
    "variant",
    "vector",
    "version",
});

bool IsStandardHeader(std::string_view name) {
  return std::find(kStandardHeaders.begin(), kStandardHeaders.end(), name) !=
         kStandardHeaders.end();
}

const LayerRule* RuleOf(const std::vector<LayerRule>& rules, std::string_view layer) {
  for (const LayerRule& rule : rules) {
    if (rule.layer == layer) return &rule;
  }
  return nullptr;
}

std::string Join(const std::vector<std::string_view>& names) {
  std::string text;
  for (std::string_view name : names) {
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text.empty() ? "nothing" : text;
}

struct IncludeLine {
  char open = '"';        // '"' or '<'
  std::string_view name;  // between the quotes or brackets
};

std::optional<IncludeLine> ParseInclude(std::string_view line) {
  const std::size_t hash = line.find_first_not_of(" \t");
  if (hash == std::string_view::npos || line[hash] != '#') return std::nullopt;
  std::size_t word = line.find_first_not_of(" \t", hash + 1);
  if (word == std::string_view::npos || line.substr(word, 7) != "include") return std::nullopt;
  const std::size_t open = line.find_first_of("\"<", word + 7);
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t close = line.find(line[open] == '"' ? '"' : '>', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return IncludeLine{line[open], line.substr(open + 1, close - open - 1)};
}

// The layer an include names: its first folder, or its first two for the window's folders.
std::string_view LayerOfInclude(std::string_view name) {
  std::size_t slash = name.find('/');
  if (slash == std::string_view::npos) return {};
  if (name.substr(0, slash) == "ui") {
    const std::size_t second = name.find('/', slash + 1);
    if (second != std::string_view::npos) slash = second;
  }
  return name.substr(0, slash);
}

// The problems of one source file of `layer`, one text per offending line:
// "<file>:<line>: <layer> may not include ...".
std::vector<std::string> CheckSource(const std::vector<LayerRule>& rules, std::string_view layer,
                                     std::string_view file, std::string_view text) {
  std::vector<std::string> problems;
  const LayerRule* rule = RuleOf(rules, layer);
  if (rule == nullptr) {
    problems.push_back(std::string(file) + ": folder '" + std::string(layer) +
                       "' is no layer of the include table");
    return problems;
  }
  std::istringstream lines{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::optional<IncludeLine> include = ParseInclude(line);
    if (!include) continue;
    const std::string where = std::string(file) + ":" + std::to_string(number) + ": ";
    if (include->open == '<') {
      // The header-only JSON library is the one exception, for the layer that reads and writes
      // the layout file.
      const bool json = layer == "layout" && include->name.starts_with("nlohmann/");
      if (rule->core && !IsStandardHeader(include->name) && !json) {
        problems.push_back(where + std::string(layer) + " may include standard library headers " +
                           "only, not <" + std::string(include->name) + ">");
      }
      continue;
    }
    const std::string_view used = LayerOfInclude(include->name);
    const bool allowed = used == layer || std::find(rule->may_use.begin(), rule->may_use.end(),
                                                    used) != rule->may_use.end();
    if (!allowed) {
      problems.push_back(where + std::string(layer) + " may not include \"" +
                         std::string(include->name) + "\" (" + std::string(layer) +
                         " may use: " + Join(rule->may_use) + ")");
    }
  }
  return problems;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(IncludeCheckTest, EveryIncludeInSourcesKeepsToItsLayer) {
  const fs::path src = fs::path(QP40_SOURCE_DIR) / "src";
  ASSERT_TRUE(fs::is_directory(src)) << src;
  std::vector<std::string> problems;
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& path = entry.path();
    if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) {
      continue;
    }
    const fs::path relative = fs::relative(path, src);
    const std::string layer(LayerOfInclude(relative.generic_string()));
    const std::vector<std::string> found =
        CheckSource(Rules(), layer, "src/" + relative.generic_string(), ReadText(path));
    problems.insert(problems.end(), found.begin(), found.end());
    ++files;
  }
  EXPECT_GT(files, 0u);
  std::string report;
  for (const std::string& problem : problems) report += problem + "\n";
  EXPECT_TRUE(problems.empty()) << report;
}

TEST(IncludeCheckTest, ForbiddenIncludesAreNamedWithTheirLine) {
  // A small table of its own, so the messages do not change with the project's layers.
  const std::vector<LayerRule> rules = {
      {"log", {}, true},
      {"files", {}, true},
      {"keys", {"log", "files"}, true},
      {"link", {"log", "files"}, true},
      {"sim", {"link", "log", "files"}, true},
      {"model", {"link", "keys", "log", "files"}, true},
      {"platform", {"link", "log", "files"}, false},
      {"ui/common", {"keys", "link", "model", "log", "files"}, false},
      {"ui/main", {"ui/common", "keys", "link", "model", "log", "files"}, false},
  };
  struct Case {
    std::string_view layer;
    std::string_view text;
    std::vector<std::string> problems;
  };
  const std::vector<Case> cases = {
      {"keys", "#include <array>\n#include \"keys/key_words.h\"\n#include \"log/log.h\"\n", {}},
      {"keys",
       "#include <array>\n\n#include \"model/configuration.h\"\n",
       {"f.cpp:3: keys may not include \"model/configuration.h\" (keys may use: log, files)"}},
      {"sim",
       "  #  include \"model/backup_file.h\"  // image\n",
       {"f.cpp:1: sim may not include \"model/backup_file.h\" (sim may use: link, log, files)"}},
      {"link",
       "#include <hidapi/hidapi.h>\n",
       {"f.cpp:1: link may include standard library headers only, not <hidapi/hidapi.h>"}},
      {"model",
       "#include <QString>\n#include <unistd.h>\n",
       {"f.cpp:1: model may include standard library headers only, not <QString>",
        "f.cpp:2: model may include standard library headers only, not <unistd.h>"}},
      {"ui/main",
       "#include <QString>\n#include \"sim/virtual_keypad.h\"\n",
       {"f.cpp:2: ui/main may not include \"sim/virtual_keypad.h\" (ui/main may use: "
        "ui/common, keys, link, model, log, files)"}},
      {"ui/common",
       "#include \"ui/common/clr_button.h\"\n#include \"ui/main/main_dialog.h\"\n",
       {"f.cpp:2: ui/common may not include \"ui/main/main_dialog.h\" (ui/common may use: "
        "keys, link, model, log, files)"}},
      {"platform", "#include <hidapi/hidapi.h>\n#include \"link/transport.h\"\n", {}},
      {"keys",
       "#include \"local.h\"\n",
       {"f.cpp:1: keys may not include \"local.h\" (keys may use: log, files)"}},
      {"tools", "#include <array>\n", {"f.cpp: folder 'tools' is no layer of the include table"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckSource(rules, c.layer, "f.cpp", c.text), c.problems)
        << c.layer << ": " << c.text;
  }
}

}  // namespace
}  // namespace qp40
