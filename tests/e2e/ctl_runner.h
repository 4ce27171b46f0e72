#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/utf8_path.h"

namespace qp40::e2e {

// What one run of qp40ctl left behind.
struct CtlResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the built qp40ctl with `args`, stdin from /dev/null so nothing can wait for input. With
// `stdout_file`, stdout goes there (and `out` stays empty).
CtlResult RunCtl(const std::vector<std::string>& args, const char* stdout_file = nullptr);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);

// The cells of a grid that `show --tsv` or `show --records` printed: [row][column], both
// from 0.
std::vector<std::vector<std::string>> Cells(const std::string& grid);

// The log's time stamp "      (hh:mm:ss)" as a pattern for MatchesRegex, in the regular
// expressions GoogleTest has on this system (its own simple ones on Windows, without brackets).
#if GTEST_USES_SIMPLE_RE
inline constexpr const char* kLogStampPattern = "      \\(\\d\\d:\\d\\d:\\d\\d\\)";
#else
inline constexpr const char* kLogStampPattern = "      \\([0-9][0-9]:[0-9][0-9]:[0-9][0-9]\\)";
#endif

// A fresh directory per test, with a virtual keypad image in it.
class CtlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `name` is UTF-8.
  std::filesystem::path Path(const std::string& name) const { return dir_ / PathFromUtf8(name); }
  // "--simulate=<dir>/keypad.img"
  std::string Simulate() const { return "--simulate=" + Image().string(); }
  std::filesystem::path Image() const { return dir_ / "keypad.img"; }

  // Runs a command that must succeed; returns its stdout.
  std::string Ok(const std::vector<std::string>& args);

 private:
  std::filesystem::path dir_;
};

}  // namespace qp40::e2e
