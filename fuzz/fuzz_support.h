#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "keys/key_label.h"
#include "log/clock.h"
#include "log/log.h"
#include "log/notifier.h"
#include "model/configuration.h"

// Every fuzz target defines this; libFuzzer calls it, and so does the replay program.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace qp40::fuzz {

// Stops at once on a broken property, naming it, so that the fuzzer keeps the input as a crash
// and the replay test fails.
[[noreturn]] inline void Fail(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
  std::abort();
}

#define QP40_REQUIRE(property) \
  ((property) ? static_cast<void>(0) : ::qp40::fuzz::Fail(#property, __FILE__, __LINE__))

// Hands out the fuzz input a byte at a time; once it is used up, every byte is the caller's
// fallback, so a short input still runs the whole target.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  bool Empty() const { return position_ >= data_.size(); }

  std::uint8_t Next(std::uint8_t fallback = 0) { return Empty() ? fallback : data_[position_++]; }

  // Fills `out` from the input, with zeros past its end.
  void Fill(std::span<std::uint8_t> out) {
    for (std::uint8_t& byte : out) {
      byte = Next(0);
    }
  }

  std::string Text(std::size_t length) {
    const std::size_t n = std::min(length, data_.size() - std::min(position_, data_.size()));
    std::string text(reinterpret_cast<const char*>(data_.data() + position_), n);
    position_ += n;
    return text;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;
};

// The window's surroundings without a window: the log keeps its text, messages and refreshes
// are counted.
class CountingNotifier final : public Notifier {
 public:
  void ShowMessage(std::string_view /*text*/) override { ++messages; }
  int messages = 0;
};

class DiscardingSink final : public LogSink {
 public:
  void OnLineAppended(std::string_view /*line*/, const std::string& /*whole_log*/) override {}
};

class NoonClock final : public Clock {
 public:
  TimeOfDay Now() const override { return {12, 0, 0}; }
};

class CountingRefresher final : public LabelRefresher {
 public:
  void RefreshKeyLabels() override { ++refreshes; }
  int refreshes = 0;
};

struct Surroundings {
  Surroundings() { log.SetSink(&sink); }
  NoonClock clock;
  CountingNotifier notifier;
  DiscardingSink sink;
  Log log{clock, notifier};
  CountingRefresher refresher;
};

// Every key of every profile, as the grid would show it, keeps its label within bounds.
inline void CheckEveryLabel(const Configuration& config) {
  for (std::uint8_t profile = 0; profile < kProfileCount; ++profile) {
    const ProfileView view = ViewProfile(config, profile);
    for (const KeyActionRecord& record : view.records) {
      QP40_REQUIRE(KeyLabel(record, config.burst_table, config.string_unit_table).size() <=
                   kKeyLabelLength);
    }
  }
}

// Lines of a listing, each ended by CR LF.
inline std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

}  // namespace qp40::fuzz
