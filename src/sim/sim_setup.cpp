#include "sim/sim_setup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

#include "files/utf8_path.h"
#include "sim/factory_image.h"

namespace qp40::sim {
namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 6> kFaultNames = {{
    {"drop", FaultKind::kDrop},
    {"status", FaultKind::kStatus},
    {"echo", FaultKind::kEcho},
    {"late", FaultKind::kLate},
    {"gone", FaultKind::kGone},
    {"flip", FaultKind::kFlip},
}};

// The bytes of the identity that tell virtual keypads apart; byte 13 (the error byte) stays 0.
constexpr std::array<std::size_t, 4> kIdentityVariantBytes = {9, 10, 14, 15};

// FNV-1a: a stable 32-bit digest of a name, the same on every platform and run.
std::uint32_t Digest(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

// The fault alone, KIND@N.
std::optional<Fault> ParsePlainFault(std::string_view text) {
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view kind = text.substr(0, at);
  const std::string_view number = text.substr(at + 1);

  std::uint64_t request_number = 0;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), request_number);
  if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
      request_number == 0) {
    return std::nullopt;
  }
  for (const auto& [name, fault_kind] : kFaultNames) {
    if (name == kind) return Fault{fault_kind, request_number};
  }
  return std::nullopt;
}

}  // namespace

std::optional<KeypadFault> ParseFault(std::string_view text) {
  std::size_t keypad = 1;
  const std::size_t colon = text.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view number = text.substr(0, colon);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), keypad);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
        keypad == 0) {
      return std::nullopt;
    }
    text.remove_prefix(colon + 1);
  }
  const std::optional<Fault> fault = ParsePlainFault(text);
  if (!fault) return std::nullopt;
  return KeypadFault{keypad, *fault};
}

std::string CheckFault(std::string_view text) {
  if (ParseFault(text)) return {};
  // Appended piece by piece: g++ 12 at -O3 misreads "'" + string as an overlapping copy.
  std::string problem = "'";
  problem.append(text);
  problem.append(
      "' is not [K:]KIND@N (K: the virtual keypad, from 1; KIND: drop, status, echo, late, gone "
      "or flip; N from 1)");
  return problem;
}

std::string ParseFaultList(std::string_view list, std::vector<KeypadFault>& faults) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string_view item = list.substr(start, comma - start);
    const std::optional<KeypadFault> fault = ParseFault(item);
    if (!fault) return CheckFault(item);
    faults.push_back(*fault);
    start = comma + 1;
  }
  return {};
}

std::optional<std::uint32_t> ParseLatency(std::string_view text) {
  std::uint32_t latency = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, latency);
  // A number too large stops with result_out_of_range and leaves `latency` at 0.
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return latency;
}

std::string CheckLatency(std::string_view text) {
  if (ParseLatency(text)) return {};
  std::string problem = "'";
  problem.append(text);
  const bool digits_only = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (digits_only) {
    problem.append("' is too large a latency (at most ");
    problem.append(std::to_string(std::numeric_limits<std::uint32_t>::max()));
    problem.append(" microseconds)");
  } else {
    problem.append("' is not a number of microseconds (decimal digits only)");
  }
  return problem;
}

std::string CheckSimKeypads(const SimOptions& options) {
  for (std::size_t i = 0; i < options.images.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      // Two keypads kept in one file would write over each other.
      if (!options.images[i].empty() && options.images[i] == options.images[j]) {
        return "'" + options.images[i] + "' is the image of two virtual keypads";
      }
    }
  }
  for (const KeypadFault& fault : options.faults) {
    if (fault.keypad > options.KeypadCount()) {
      return "a fault for virtual keypad " + std::to_string(fault.keypad) + ", but there " +
             (options.KeypadCount() == 1 ? "is 1"
                                         : "are " + std::to_string(options.KeypadCount())) +
             " (one for each --simulate)";
    }
  }
  return {};
}

std::string SimPath(std::size_t number) {
  if (number <= 1) return kSimPath;
  return std::string(kSimPath) + "-" + std::to_string(number);
}

DeviceId SimIdentity(std::string_view image, std::size_t number) {
  DeviceId identity = kFactoryIdentity;
  if (image.empty() && number <= 1) return identity;
  std::string name = "keypad " + std::to_string(number);
  if (!image.empty()) name = Utf8FromPath(PathFromUtf8(image).filename());
  std::uint32_t digest = Digest(name);
  for (const std::size_t byte : kIdentityVariantBytes) {
    identity.at(byte) = static_cast<std::uint8_t>(digest & 0xFFu);
    digest >>= 8u;
  }
  return identity;
}

SimulatedKeypad::SimulatedKeypad(const SimOptions& options, std::size_t number)
    : image_(number >= 1 && number <= options.images.size() ? options.images[number - 1] : ""),
      transport_(keypad_, SimPath(number)) {
  // A run makes thousands of exchanges; nothing reads them back.
  keypad_.SetRecordRequests(false);
  keypad_.SetIdentity(SimIdentity(image_, number));
  for (const KeypadFault& fault : options.faults) {
    if (fault.keypad == number) keypad_.AddFault(fault.fault);
  }
  keypad_.SetLatencyMicroseconds(options.latency_us);
}

std::string SimulatedKeypad::LoadImage() {
  if (image_.empty()) return {};
  std::error_code error;
  if (std::filesystem::exists(PathFromUtf8(image_), error) && !keypad_.LoadImage(image_)) {
    return image_ + ": not a keypad memory image (it must be " + std::to_string(kImageSize) +
           " bytes: 128 blocks of 2048 bytes); left unchanged";
  }
  keep_image_ = true;
  return {};
}

std::string SimulatedKeypad::SaveImage() const {
  if (!keep_image_ || keypad_.SaveImage(image_)) return {};
  return image_ + ": could not write the virtual keypad's memory back";
}

}  // namespace qp40::sim

namespace qp40::sim {

SimulatedKeypads::SimulatedKeypads(const SimOptions& options) {
  for (std::size_t number = 1; number <= options.KeypadCount(); ++number) {
    keypads_.push_back(std::make_unique<SimulatedKeypad>(options, number));
    bus_.Add(keypads_.back()->GetTransport());
  }
}

std::string SimulatedKeypads::LoadImages() {
  for (const auto& keypad : keypads_) {
    std::string error = keypad->LoadImage();
    if (!error.empty()) return error;
  }
  return {};
}

std::string SimulatedKeypads::SaveImages() const {
  std::string errors;
  for (const auto& keypad : keypads_) {
    const std::string error = keypad->SaveImage();
    if (error.empty()) continue;
    if (!errors.empty()) errors += "\n";
    errors += error;
  }
  return errors;
}

}  // namespace qp40::sim
