// Macro script bytes: compile for a macro number taken from the first byte, then list the
// buffer.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "macro_listing_check.h"
#include "macros/script_compiler.h"
#include "macros/script_reader.h"

namespace {

std::size_t RecordsInUse(const qp40::MacroBuffer& buffer) {
  std::size_t in_use = 0;
  for (std::size_t index = 0; index < qp40::kMacroRecordCount; ++index) {
    in_use += qp40::IsFreeLineNumber(buffer[qp40::RecordOffset(index) + qp40::kRecordLine]) ? 0 : 1;
  }
  return in_use;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qp40;
  if (size == 0) {
    return 0;
  }
  const std::uint8_t macro_number = data[0];
  const std::string_view script(reinterpret_cast<const char*>(data + 1), size - 1);

  const CompileResult result = CompileScript(script, macro_number);
  QP40_REQUIRE(result.records <= kMaxCommandLine && result.records < kMacroRecordCount);
  QP40_REQUIRE(RecordsInUse(result.buffer) == result.records);
  for (const ScriptProblem& problem : result.problems) {
    QP40_REQUIRE(problem.line >= 1 && !problem.text.empty());
    QP40_REQUIRE(problem.word.size() <= kMaxWordLength);
  }
  switch (result.status) {
    case CompileStatus::kRefused:
      QP40_REQUIRE(result.records == 0 && result.problems.size() == 1);
      QP40_REQUIRE(std::all_of(result.buffer.begin(), result.buffer.end(),
                               [](std::uint8_t byte) { return byte == 0; }));
      break;
    case CompileStatus::kUnknownWord:
      QP40_REQUIRE(!result.problems.empty());
      break;
    case CompileStatus::kCompiled:
      QP40_REQUIRE(std::none_of(result.problems.begin(), result.problems.end(),
                                [](const ScriptProblem& problem) {
                                  return problem.kind != ScriptProblemKind::kJumpRepaired;
                                }));
      break;
  }

  const auto listing = fuzz::CheckedListing(result.buffer);
  // A compiled script lists one line per record, in the order it was written.
  if (result.status == CompileStatus::kCompiled) {
    QP40_REQUIRE(listing.has_value() == (result.records > 0));
    if (listing) {
      QP40_REQUIRE(fuzz::CountLines(*listing) == result.records);
    }
  }
  return 0;
}
