// A hostile keypad: attach to it, then load, save, list and store macros in an order the input
// chooses, while every reply comes from the input.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "hostile_keypad.h"
#include "link/keypad_link.h"
#include "macro_listing_check.h"
#include "macros/macro_storage.h"
#include "macros/script_compiler.h"
#include "model/profile_ops.h"

namespace {

using namespace qp40;
using fuzz::HostileKeypad;

enum Operation : std::uint8_t {
  kLoad,
  kSave,
  kLoadMacro,
  kSaveMacro,
  kAttach,
  kChooseProfileBlock,
  kEnd,
  kOperationCount,
};

constexpr std::size_t kMaxOperations = 8;
// Macro numbers -2..33, so that numbers outside 0..31 come too.
constexpr int kMacroNumberSpan = 36;
constexpr int kMacroNumberShift = 2;

constexpr std::string_view kScripts[] = {
    "press a  b  c  20\r\npress M_Left -20 -30 100\r\njump 01 20\r\nstring 04 30\r\ndelay 200\r\n",
    "press Ctrl a 20\nrelease Ctrl a 20\n",
    "delay 100\r\njump 01 20\r\n",
};
constexpr std::uint8_t kScriptFromInput = 0x80;

// A load reads the profile block, two burst and two string blocks and the identity; a save
// prepares and writes the same five blocks.
constexpr int kConfigurationBlocks = 5;
constexpr int kConfigurationPages = kConfigurationBlocks * static_cast<int>(kPagesPerBlock);
constexpr int kExchangesPerLoad = kConfigurationPages + 1;
constexpr int kExchangesPerSave = kConfigurationPages + kConfigurationBlocks;
constexpr int kExchangesPerMacro = 2 * (static_cast<int>(kPagesPerBlock) + 1);

struct BlockBytes {
  std::uint8_t block;
  std::span<std::uint8_t, kBlockSize> bytes;
};

std::vector<BlockBytes> ConfigurationBlocks(Configuration& config) {
  return {{config.profile_block_number, config.profile_image},
          {kBurstBlockFirst, std::span(config.burst_table).first<kBlockSize>()},
          {kBurstBlockSecond, std::span(config.burst_table).last<kBlockSize>()},
          {kStringBlockFirst, std::span(config.string_unit_table).first<kBlockSize>()},
          {kStringBlockSecond, std::span(config.string_unit_table).last<kBlockSize>()}};
}

bool Among(std::uint8_t block, const std::vector<BlockBytes>& blocks) {
  return std::any_of(blocks.begin(), blocks.end(),
                     [&](const BlockBytes& b) { return b.block == block; });
}

std::span<const std::uint8_t> RequestPayload(const ConfigReport& request) {
  return std::span(request).subspan(kPayloadByte, kPayloadSize);
}

// Checks a load: it only reads, and each page of what it read is either the reply to a read of
// that page or what the configuration held before.
void CheckLoad(const HostileKeypad& keypad, Configuration& before, Configuration& after) {
  QP40_REQUIRE(keypad.Requests().size() <=
               static_cast<std::size_t>(kExchangesPerLoad) * kTriesPerExchange);
  const std::vector<BlockBytes> was = ConfigurationBlocks(before);
  const std::vector<BlockBytes> now = ConfigurationBlocks(after);
  for (const ConfigReport& request : keypad.Requests()) {
    const std::uint8_t command = request[kCommandByte];
    QP40_REQUIRE(command == kCmdReadDeviceId ||
                 (command == kCmdReadPage && Among(request[kArgumentByte], now)));
  }
  for (std::size_t i = 0; i < now.size(); ++i) {
    for (std::size_t page = 0; page < kPagesPerBlock; ++page) {
      const auto old_page = was[i].bytes.subspan(page * kPageSize, kPageSize);
      const auto new_page = now[i].bytes.subspan(page * kPageSize, kPageSize);
      QP40_REQUIRE(std::equal(old_page.begin(), old_page.end(), new_page.begin()) ||
                   keypad.Delivered(now[i].block, page, new_page));
    }
  }
  QP40_REQUIRE(after.current_profile == 0);
}

// Checks a save: it writes only its own blocks, each page as the configuration holds it.
void CheckSave(const HostileKeypad& keypad, Configuration& config) {
  QP40_REQUIRE(keypad.Requests().size() <=
               static_cast<std::size_t>(kExchangesPerSave) * kTriesPerExchange);
  const std::vector<BlockBytes> blocks = ConfigurationBlocks(config);
  for (const ConfigReport& request : keypad.Requests()) {
    const std::uint8_t command = request[kCommandByte];
    QP40_REQUIRE(command == kCmdPrepareBlock || command == kCmdWritePage);
    QP40_REQUIRE(Among(request[kArgumentByte], blocks));
    if (command == kCmdWritePage) {
      const std::size_t page = request[kPageIndexByte];
      QP40_REQUIRE(page < kPagesPerBlock);
      const auto it = std::find_if(blocks.begin(), blocks.end(), [&](const BlockBytes& b) {
        return b.block == request[kArgumentByte];
      });
      const auto expected = it->bytes.subspan(page * kPageSize, kPageSize);
      const auto sent = RequestPayload(request);
      QP40_REQUIRE(std::equal(expected.begin(), expected.end(), sent.begin()));
    }
  }
}

// The two blocks of macro `number`, which alone its commands may touch.
bool IsMacroBlock(int number, std::uint8_t block) {
  const int first = kMacroBlockFirst + 2 * number;
  return block == first || block == first + 1;
}

void CheckLoadMacro(const HostileKeypad& keypad, int number, const MacroLoadOutcome& outcome) {
  if (number < 0 || number >= kMacroCount) {
    QP40_REQUIRE(outcome.status == MacroLoadStatus::kBadNumber && keypad.Requests().empty());
    return;
  }
  QP40_REQUIRE(outcome.status != MacroLoadStatus::kBadNumber);
  QP40_REQUIRE(keypad.Requests().size() <=
               static_cast<std::size_t>(kExchangesPerMacro) * kTriesPerExchange);
  for (const ConfigReport& request : keypad.Requests()) {
    QP40_REQUIRE(request[kCommandByte] == kCmdReadPage &&
                 IsMacroBlock(number, request[kArgumentByte]));
  }
  if (outcome.status == MacroLoadStatus::kListed) {
    QP40_REQUIRE(fuzz::CountLines(outcome.listing) <= kMacroRecordCount);
    QP40_REQUIRE(outcome.listing.size() <= kMacroRecordCount * fuzz::kMaxListingLineLength);
  }
  QP40_REQUIRE(outcome.failed_pages >= 0 &&
               outcome.failed_pages <= 2 * static_cast<int>(kPagesPerBlock));
}

void CheckSaveMacro(const HostileKeypad& keypad, int number, std::string_view script,
                    const MacroSaveOutcome& outcome) {
  if (outcome.status != MacroSaveStatus::kStored) {
    // Nothing reaches the keypad from a script that is not stored.
    QP40_REQUIRE(keypad.Requests().empty());
    return;
  }
  QP40_REQUIRE(number >= 0 && number < kMacroCount);
  const CompileResult compiled = CompileScript(script, static_cast<std::uint8_t>(number));
  QP40_REQUIRE(compiled.status == CompileStatus::kCompiled &&
               compiled.records <= kMacroRecordCount);
  for (const ConfigReport& request : keypad.Requests()) {
    const std::uint8_t command = request[kCommandByte];
    const std::uint8_t block = request[kArgumentByte];
    QP40_REQUIRE((command == kCmdPrepareBlock || command == kCmdWritePage) &&
                 IsMacroBlock(number, block));
    if (command == kCmdWritePage) {
      const std::size_t offset = (block - kMacroBlockFirst - 2 * number) * kBlockSize +
                                 request[kPageIndexByte] * kPageSize;
      QP40_REQUIRE(request[kPageIndexByte] < kPagesPerBlock);
      const auto sent = RequestPayload(request);
      QP40_REQUIRE(std::equal(sent.begin(), sent.end(),
                              compiled.buffer.begin() + static_cast<std::ptrdiff_t>(offset)));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(std::span(data, size));
  fuzz::Surroundings env;
  HostileKeypad keypad(input);
  KeypadLink link(keypad, env.log, env.notifier);
  Configuration config;

  QP40_REQUIRE(link.AttachKeypad().Opened() == link.IsOpen());
  for (std::size_t step = 0; step < kMaxOperations; ++step) {
    const auto operation = static_cast<Operation>(input.Next(kEnd) % kOperationCount);
    if (operation == kEnd) {
      break;
    }
    keypad.ClearRequests();
    const bool was_open = link.IsOpen();
    switch (operation) {
      case kLoad: {
        Configuration before = config;
        const TransferReport report = LoadConfiguration(config, link, env.log, env.refresher);
        QP40_REQUIRE(report.failed_pages >= 0 && report.failed_pages <= kConfigurationPages);
        CheckLoad(keypad, before, config);
        fuzz::CheckEveryLabel(config);
        break;
      }
      case kSave: {
        const TransferReport report = SaveConfiguration(config, link, env.log);
        QP40_REQUIRE(report.failed_pages >= 0 && report.failed_pages <= kConfigurationPages);
        CheckSave(keypad, config);
        break;
      }
      case kLoadMacro: {
        const int number = input.Next() % kMacroNumberSpan - kMacroNumberShift;
        CheckLoadMacro(keypad, number, LoadMacroScript(number, link, env.log, env.notifier));
        break;
      }
      case kSaveMacro: {
        const int number = input.Next() % kMacroNumberSpan - kMacroNumberShift;
        const std::uint8_t choice = input.Next(0);
        const std::string script = choice >= kScriptFromInput
                                       ? input.Text(input.Next(0))
                                       : std::string(kScripts[choice % std::size(kScripts)]);
        CheckSaveMacro(keypad, number, script,
                       SaveMacroScript(number, script, link, env.log, env.notifier));
        break;
      }
      case kAttach:
        QP40_REQUIRE(link.AttachKeypad().Opened() == link.IsOpen());
        break;
      case kChooseProfileBlock: {
        constexpr std::uint8_t kBlocks[] = {kProfileBlock, kProfileBlockAlt27, kProfileBlockAlt26};
        config.profile_block_number = kBlocks[input.Next(0) % std::size(kBlocks)];
        break;
      }
      case kEnd:
      case kOperationCount:
        break;
    }
    // A keypad that is not open, or that went away, is never sent a request. A keypad found
    // gone is closed by the link itself, after the request that found it gone.
    if (!was_open) {
      QP40_REQUIRE(keypad.Requests().empty());
    }
    if (link.DeviceGone()) {
      QP40_REQUIRE(!link.IsOpen());
    }
  }
  return 0;
}
