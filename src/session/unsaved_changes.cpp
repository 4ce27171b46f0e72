#include "session/unsaved_changes.h"

#include <map>
#include <string>

#include "editing/key_edit.h"
#include "layout/key_expression.h"
#include "layout/layout_diff.h"
#include "layout/layout_file.h"

namespace qp40 {
namespace {

// The configuration as a save would write it: the working copy merged into the image.
Configuration SavedConfiguration(const Configuration& config) {
  Configuration merged = config;
  MergeWorkingCopy(merged, ProfileSwitchCopy::kAllProfiles);
  return merged;
}

// The expression of a key with its text from the tables in memory.
struct KeyForm {
  KeyActionRecord record{};
  std::optional<std::string> text;
};

KeyForm FormOf(const KeyActionRecord& record, const KeyTextLookup& texts) {
  return {record, KeyTextKindOf(record) ? texts(record) : std::nullopt};
}

Layout LayoutWithoutMacros(const Configuration& config) {
  return MakeLayout(config, TableTexts(config), {}, std::nullopt, "");
}

}  // namespace

UnsavedKeys UnsavedKeysOf(const KeypadSession& session) {
  UnsavedKeys unsaved;
  const Configuration& config = session.Config();
  const std::optional<Configuration> held = session.Copy().Held(config);
  if (!held || config.current_profile >= kProfileCount) return unsaved;
  const Configuration ours = SavedConfiguration(config);
  const ProfileView shown = ViewProfile(ours, config.current_profile);
  const ProfileView keypads = ViewProfile(*held, config.current_profile);
  const KeyTextLookup our_texts = TableTexts(ours);
  const KeyTextLookup keypad_texts = TableTexts(*held);
  for (std::size_t position = 0; position < kGridKeyCount; ++position) {
    const KeyForm now = FormOf(shown.records[position], our_texts);
    const KeyForm before = FormOf(keypads.records[position], keypad_texts);
    if (now.record != before.record || now.text != before.text) {
      unsaved[position] = FormatKeyExpression(before.record, before.text);
    }
  }
  return unsaved;
}

std::vector<std::string> UnsavedChangeLines(const KeypadSession& session) {
  const Configuration& config = session.Config();
  const std::optional<Configuration> held = session.Copy().Held(config);
  std::vector<std::string> lines;
  if (held) {
    lines =
        DiffLayouts(LayoutWithoutMacros(*held), LayoutWithoutMacros(SavedConfiguration(config)));
  }
  for (const auto& [number, buffer] : session.PendingMacros()) {
    lines.push_back("macro " + std::to_string(number) + ": written by the next save");
  }
  return lines;
}

}  // namespace qp40
