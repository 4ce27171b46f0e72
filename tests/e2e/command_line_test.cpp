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
  for (const char* command : {"list", "info", "show", "key", "backup", "restore", "macro", "chord",
                              "render", "dump", "reboot", "factory-reset", "--simulate",
                              "--sim-fault", "--sim-latency", "--device", "--log", "--version"}) {
    EXPECT_THAT(top.out, HasSubstr(command)) << command;
  }

  struct Level {
    std::vector<std::string> args;
    std::vector<std::string> mentions;
  };
  const std::vector<Level> levels = {
      {{"macro", "--help"}, {"get", "put", "compile", "list"}},
      {{"key", "--help"}, {"set"}},
      {{"chord", "--help"}, {"list", "set", "cut", "new"}},
      {{"chord", "set", "--help"},
       {"FILE", "N", "--keys", "--out", "--mods", "--sixth",
        "chord set chords.txt 1 --keys s d --out Enter"}},
      {{"show", "--help"}, {"--profile", "--tsv", "--records", "BACKUP"}},
      {{"key", "set", "--help"},
       {"ROW", "COL", "VALUE", "--profile", "--string", "--burst", "--mods", "--shortcut",
        "--media", "--mouse", "--x", "--y", "--macro", "--stop-mode", "--tool", "--disable",
        "--string \"Hello^e\"", "--shortcut Ctrl+Alt+Del", "--mouse M_Left --x 5 --y -5"}},
      {{"restore", "--help"}, {"--verify", "FILE"}},
      {{"macro", "compile", "--help"}, {"-o", "--number"}},
      {{"dump", "--help"}, {"--json"}},
      {{"render", "--help"}, {"--profile", "--from", "--chords", "--no-appendix", "-o"}},
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
      {"key", "set", "1", "1", "a", "--disable"},  // VALUE and a type option
      {"key", "set", "1", "1", "--tool", "1", "--disable"},
      {"key", "set", "1", "1", "--mods", "Ctrl"},  // modifiers without a text
      {"key", "set", "1", "1", "--shortcut", "Ctrl+Alt+Del", "--mods", "Ctrl"},
      {"key", "set", "1", "1", "--burst", "x", "--mods", "Ctrl,Hyper"},
      {"key", "set", "1", "1", "--shortcut", "Ctrl+a+b+c"},  // three keys
      {"key", "set", "1", "1", "--shortcut", ""},
      {"key", "set", "1", "1", "--x", "5"},  // needs --mouse
      {"key", "set", "1", "1", "--mouse", "Move", "--y", "128"},
      {"key", "set", "1", "1", "--macro", "32"},
      {"key", "set", "1", "1", "--macro", "1", "--stop-mode", "never"},
      {"key", "set", "1", "1", "--media", "256"},
      {"key", "set", "1", "1", "--tool", "0x10"},
      {"macro", "get", "32"},
      {"macro", "get", "0x1f"},
      {"show", "--profile", "+1"},
      {"macro", "put", "-1", "m.txt"},
      {"macro", "compile", "m.txt"},   // no -o
      {"--sim-fault=drop@5", "info"},  // needs --simulate
      {"--simulate", "--sim-fault=drop@0", "info"},
      {"--simulate", "--sim-fault=boom@3", "info"},
      {"--simulate", "--sim-latency=fast", "info"},
      {"--simulate", "--sim-latency=4294967296", "info"},
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

TEST(CommandLineTest, TooLargeLatencyIsRefusedWithItsLimit) {
  const CtlResult result = RunCtl({"--simulate", "--sim-latency=99999999999", "info"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_THAT(result.err,
              HasSubstr("'99999999999' is too large a latency (at most 4294967295 microseconds)"));
}

TEST(CommandLineTest, UnknownKeyNamesSuggestTheNearestKnownOnes) {
  struct Case {
    std::vector<std::string> options;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"Entr"}, "'Entr' is no key name; did you mean Enter, End"},
      {{"Ctrl+Dell"}, "'Dell' is no key name; did you mean Del"},
      {{"media:Volum+"}, "did you mean Volume+, Volume-?"},
      {{"enter"}, "did you mean Enter?"},
      {{"--shortcut", "Ctrl+Dell"}, "'Dell' is no key name; did you mean Del"},
      {{"--media", "Volum+"}, "did you mean Volume+, Volume-?"},
      {{"--mouse", "m_left"}, "'m_left' is no mouse name; did you mean M_Left?"},
      {{"xyzzy"}, "'xyzzy' is no key name\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"key", "set", "1", "1"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CtlResult result = RunCtl(args);
    EXPECT_EQ(result.exit_code, 2) << c.options.back();
    EXPECT_THAT(result.err, HasSubstr(c.message));
  }
}

}  // namespace
}  // namespace qp40::e2e
