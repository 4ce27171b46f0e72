#include "macros/macro_storage.h"

#include <bitset>

#include <span>
#include <utility>

#include "log/text_format.h"
#include "macros/line_ends.h"
#include "macros/macro_listing.h"
#include "macros/script_compiler.h"
#include "model/configuration.h"

namespace qp40 {

namespace {

static_assert(kMacroBufferSize == 2 * kBlockSize);
static_assert(kMacroBlockFirst + 2 * kMacroCount == kBlockCount);

std::span<std::uint8_t, kBlockSize> Half(MacroBuffer& buffer, std::size_t half) {
  return std::span(buffer).subspan(half * kBlockSize).first<kBlockSize>();
}

std::span<const std::uint8_t, kBlockSize> Half(const MacroBuffer& buffer, std::size_t half) {
  return std::span(buffer).subspan(half * kBlockSize).first<kBlockSize>();
}

}  // namespace

std::optional<std::uint8_t> MacroFirstBlock(int macro_number) {
  if (macro_number < 0 || macro_number >= kMacroCount) {
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(kMacroBlockFirst + 2 * macro_number);
}

std::optional<LoadedMacro> LoadMacro(int macro_number, KeypadLink& link, Log& log) {
  const std::optional<std::uint8_t> first = MacroFirstBlock(macro_number);
  if (!first) {
    return std::nullopt;
  }
  LoadedMacro loaded;
  loaded.failed_pages += link.ReadBlock(*first, Half(loaded.buffer, 0));
  loaded.failed_pages +=
      link.ReadBlock(static_cast<std::uint8_t>(*first + 1), Half(loaded.buffer, 1));
  log.AppendLog(FormatText("iMarco=%d, iMacroBlockID=%d", macro_number, *first));
  return loaded;
}

std::optional<LoadedMacro> LoadMacroChain(int macro_number, KeypadLink& link, Log& log) {
  const std::optional<std::uint8_t> first = MacroFirstBlock(macro_number);
  if (!first) {
    return std::nullopt;
  }
  LoadedMacro loaded;
  loaded.failed_pages += link.ReadBlock(*first, Half(loaded.buffer, 0));
  log.AppendLog(FormatText("iMarco=%d, iMacroBlockID=%d", macro_number, *first));
  if (!IsMacroReady(loaded.buffer)) {
    return loaded;
  }
  // Follows the links through the first block; a loop there ends the chain as a listing does.
  constexpr std::size_t kRecordsPerBlock = kMacroRecordCount / 2;
  std::bitset<kRecordsPerBlock> seen;
  std::size_t index = 0;
  while (index < kRecordsPerBlock && !seen[index]) {
    seen[index] = true;
    const auto record = std::span(loaded.buffer).subspan(RecordOffset(index), kMacroRecordSize);
    if (record[kRecordNext] == 0 && record[kRecordMacro] == 0) {
      return loaded;
    }
    index = record[kRecordNext];
  }
  if (index >= kRecordsPerBlock) {
    loaded.failed_pages +=
        link.ReadBlock(static_cast<std::uint8_t>(*first + 1), Half(loaded.buffer, 1));
  }
  return loaded;
}

std::optional<int> StoreMacro(int macro_number, const MacroBuffer& buffer, KeypadLink& link) {
  const std::optional<std::uint8_t> first = MacroFirstBlock(macro_number);
  if (!first) {
    return std::nullopt;
  }
  const auto second = static_cast<std::uint8_t>(*first + 1);
  // A block the keypad did not erase cannot be trusted to hold its pages: all of them count as
  // failed.
  const bool first_prepared = link.PrepareBlock(*first);
  const bool second_prepared = link.PrepareBlock(second);
  const int first_failed = link.WriteBlock(*first, Half(buffer, 0));
  const int second_failed = link.WriteBlock(second, Half(buffer, 1));
  const int whole_block = static_cast<int>(kPagesPerBlock);
  return (first_prepared ? first_failed : whole_block) +
         (second_prepared ? second_failed : whole_block);
}

MacroLoadOutcome LoadMacroScript(int macro_number, KeypadLink& link, Log& log, Notifier& notifier) {
  MacroLoadOutcome outcome;
  const std::optional<LoadedMacro> loaded = LoadMacro(macro_number, link, log);
  if (!loaded) {
    notifier.ShowMessage(kBadMacroNumberMessage);
    return outcome;
  }
  outcome.failed_pages = loaded->failed_pages;
  if (std::optional<std::string> listing = ListMacro(loaded->buffer)) {
    outcome.status = MacroLoadStatus::kListed;
    outcome.listing = std::move(*listing);
  } else {
    outcome.status = MacroLoadStatus::kNotReady;
    outcome.message = FormatText("\r\n Macro No.%d Not Ready !", macro_number);
  }
  return outcome;
}

MacroSaveOutcome SaveMacroScript(int macro_number, std::string_view script, KeypadLink& link,
                                 Log& log, Notifier& notifier) {
  MacroSaveOutcome outcome;
  if (!MacroFirstBlock(macro_number)) {
    notifier.ShowMessage(kBadMacroNumberMessage);
    return outcome;
  }
  // Measured with CR LF line ends, as the keypad's own editor counts them.
  const std::string text = NormaliseLineEnds(script);
  if (text.size() < kMinScriptLength) {
    notifier.ShowMessage(kWrongScriptMessage);
    outcome.status = MacroSaveStatus::kTooShort;
    return outcome;
  }
  CompileResult compiled =
      CompileScript(text, static_cast<std::uint8_t>(macro_number), log, notifier);
  outcome.problems = std::move(compiled.problems);
  if (compiled.status != CompileStatus::kCompiled) {
    outcome.status = MacroSaveStatus::kNotCompiled;
    return outcome;
  }
  outcome.failed_pages = StoreMacro(macro_number, compiled.buffer, link).value_or(0);
  outcome.status = MacroSaveStatus::kStored;
  outcome.message = FormatText("Save Macro#%d to device", macro_number);
  return outcome;
}

}  // namespace qp40
