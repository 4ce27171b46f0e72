// The command line itself: help on every level, version, and usage errors.
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;

TEST(CommandLineTest, HelpListsEveryCommandOnEveryLevel) {
  const CtlResult top = RunCtl({"--help"});
  EXPECT_EQ(top.exit_code, 0);
  for (const char* command :
       {"info", "show", "key", "backup", "restore", "macro", "chord", "dump", "reboot",
        "factory-reset", "--simulate", "--sim-fault", "--sim-latency", "--log", "--version"}) {
    EXPECT_THAT(top.out, HasSubstr(command)) << command;
  }

  struct Level {
    std::vector<std::string> args;
    std::vector<std::string> mentions;
  };
  const std::vector<Level> levels = {
      {{"macro", "--help"}, {"get", "put", "compile", "list"}},
      {{"key", "--help"}, {"set"}},
      {{"chord", "--help"}, {"list"}},
      {{"show", "--help"}, {"--profile", "--tsv", "--records", "BACKUP"}},
      {{"key", "set", "--help"}, {"ROW", "COL", "VALUE", "--profile"}},
      {{"restore", "--help"}, {"--verify", "FILE"}},
      {{"macro", "compile", "--help"}, {"-o", "--number"}},
      {{"dump", "--help"}, {"--json"}},
      {{"factory-reset", "--help"}, {"--yes"}},
  };
  for (const Level& level : levels) {
    const CtlResult help = RunCtl(level.args);
    EXPECT_EQ(help.exit_code, 0) << level.args.front();
    for (const std::string& mention : level.mentions) {
      EXPECT_THAT(help.out, HasSubstr(mention)) << level.args.front();
    }
  }
}

TEST(CommandLineTest, Version) {
  const CtlResult version = RunCtl({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_THAT(version.out, ::testing::StartsWith("qp40ctl "));
}

TEST(CommandLineTest, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"macro"},
      {"show", "--profile", "5"},
      {"show", "--tsv", "--records"},
      {"key", "set", "7", "1", "a"},
      {"key", "set", "1", "9", "a"},
      {"key", "set", "1", "1", "NoSuchKey"},
      {"key", "set", "1", "1", "8004000"},  // seven digits
      {"key", "set", "1", "1", ""},
      {"key", "set", "1", "1"},
      {"key", "set", "0x1", "1", "a"},
      {"macro", "get", "32"},
      {"macro", "get", "0x1f"},
      {"show", "--profile", "+1"},
      {"macro", "put", "-1", "m.txt"},
      {"macro", "compile", "m.txt"},   // no -o
      {"--sim-fault=drop@5", "info"},  // needs --simulate
      {"--simulate", "--sim-fault=drop@0", "info"},
      {"--simulate", "--sim-fault=boom@3", "info"},
      {"--simulate", "--sim-latency=fast", "info"},
      {"backup"},
  };
  for (const auto& args : cases) {
    const CtlResult result = RunCtl(args);
    std::string joined;
    for (const std::string& arg : args) joined += " " + arg;
    EXPECT_EQ(result.exit_code, 2) << joined << "\n" << result.err;
    EXPECT_EQ(result.out, "") << joined;
  }
}

}  // namespace
}  // namespace qp40::e2e
