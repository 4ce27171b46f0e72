#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "link/report.h"
#include "log/log.h"
#include "support/log_doubles.h"

namespace qp40::testing {

// A log with a sink registered, as the tool has once its window is up.
struct LogCapture {
  LogCapture() { log.SetSink(&sink); }
  FixedClock clock{{12, 34, 56}};
  RecordingNotifier notifier;
  RecordingSink sink;
  Log log{clock, notifier};
};

using Payload = std::array<std::uint8_t, kPayloadSize>;

// Payload bytes that hold their own position in the report.
inline Payload Filler() {
  Payload filler{};
  for (std::size_t i = 0; i < kPayloadSize; ++i) {
    filler[i] = static_cast<std::uint8_t>(kPayloadByte + i);
  }
  return filler;
}

// Payload whose bytes tell which block and page they belong to.
inline Payload PagePattern(std::uint8_t block, std::size_t page) {
  Payload data{};
  for (std::size_t i = 0; i < kPayloadSize; ++i) {
    data[i] = static_cast<std::uint8_t>(block * 7 + page * 3 + i);
  }
  return data;
}

// A request as the tool must send it.
inline ConfigReport MakeRequest(std::uint8_t command, std::uint8_t argument, const Payload& payload,
                                std::uint8_t page, std::uint8_t page_field,
                                std::uint16_t sequence) {
  ConfigReport request{};
  request[kLeadByte] = kLeadValue;
  request[kHeaderByte] = kHeaderValue;
  request[kCommandByte] = command;
  request[kArgumentByte] = argument;
  std::copy(payload.begin(), payload.end(), request.begin() + kPayloadByte);
  request[kPageIndexByte] = page;
  request[kPageFieldByte] = page_field;
  request[kSequenceHighByte] = static_cast<std::uint8_t>(sequence >> 8);
  request[kSequenceLowByte] = static_cast<std::uint8_t>(sequence);
  return request;
}

// A reply with the given status and sequence echo (bytes 39 and 40).
inline ConfigReport MakeReply(std::uint16_t echo, const Payload& payload = {},
                              std::uint8_t status = kStatusAccepted) {
  ConfigReport reply{};
  reply[kStatusByte] = status;
  std::copy(payload.begin(), payload.end(), reply.begin() + kPayloadByte);
  reply[kSequenceHighByte] = static_cast<std::uint8_t>(echo >> 8);
  reply[kSequenceLowByte] = static_cast<std::uint8_t>(echo);
  return reply;
}

inline std::string Hex(const ConfigReport& report) {
  std::string text;
  for (const std::uint8_t byte : report) {
    char group[4];
    std::snprintf(group, sizeof group, "%02x ", byte);
    text += group;
  }
  return text;
}

}  // namespace qp40::testing
