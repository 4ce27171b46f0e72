#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qp40 {

// One configuration report: the report-ID byte followed by the 40 data bytes of a HID report.
inline constexpr std::size_t kReportSize = 41;
using ConfigReport = std::array<std::uint8_t, kReportSize>;

// Byte offsets of a report, counted with the report-ID byte.
inline constexpr std::size_t kReportIdByte = 0;
inline constexpr std::size_t kLeadByte = 1;    // request: 0xAA
inline constexpr std::size_t kStatusByte = 1;  // reply: 0x55 when accepted
inline constexpr std::size_t kHeaderByte = 2;  // request: 0x20
inline constexpr std::size_t kCommandByte = 3;
inline constexpr std::size_t kArgumentByte = 4;
inline constexpr std::size_t kPayloadByte = 5;
inline constexpr std::size_t kPayloadSize = 32;
inline constexpr std::size_t kPageIndexByte = 37;
inline constexpr std::size_t kPageFieldByte = 38;
inline constexpr std::size_t kSequenceHighByte = 39;
inline constexpr std::size_t kSequenceLowByte = 40;

inline constexpr std::uint8_t kReportId = 0x00;
inline constexpr std::uint8_t kLeadValue = 0xAA;
inline constexpr std::uint8_t kHeaderValue = 0x20;
inline constexpr std::uint8_t kStatusAccepted = 0x55;

// Command codes.
inline constexpr std::uint8_t kCmdReadPage = 0x91;
inline constexpr std::uint8_t kCmdWritePage = 0x92;
inline constexpr std::uint8_t kCmdPrepareBlock = 0x93;
inline constexpr std::uint8_t kCmdReboot = 0x9F;
inline constexpr std::uint8_t kCmdRestoreFactory = 0xA0;
inline constexpr std::uint8_t kCmdReadDeviceId = 0xA1;

// Memory blocks: 2048 bytes moved as 64 pages of 32 bytes.
inline constexpr std::size_t kBlockSize = 2048;
inline constexpr std::size_t kPageSize = kPayloadSize;
inline constexpr std::size_t kPagesPerBlock = kBlockSize / kPageSize;
inline constexpr std::uint8_t kLastPageField = 0x3F;
inline constexpr std::size_t kBlockCount = 128;

inline constexpr std::size_t kDeviceIdSize = 16;
inline constexpr std::size_t kDeviceIdErrorByte = 13;

using Block = std::array<std::uint8_t, kBlockSize>;
using DeviceId = std::array<std::uint8_t, kDeviceIdSize>;

// The keypad in Management mode.
inline constexpr std::uint16_t kKeypadVendorId = 0x04B4;
inline constexpr std::uint16_t kKeypadProductId = 0x0820;

// How long one try waits for a reply.
inline constexpr int kReplyTimeoutMs = 3000;
inline constexpr int kTriesPerExchange = 3;

}  // namespace qp40
