#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qp40 {

// One value of a board-setting list: what the settings byte holds and the texts that name it.
// The texts are the product's own, spelling and blanks included.
struct BoardSettingChoice {
  std::uint8_t value;
  const char* list_item;  // the entry of the main window's list, "0# USB"
  const char* log_line;   // the log line when the user chooses the entry, ">> Path Type = USB "
  const char* name;       // the value as qp40ctl names it, "USB"
};

// A board-setting list of the main window, its entries in list order.
class BoardSettingList {
 public:
  constexpr BoardSettingList(std::span<const BoardSettingChoice> choices, const char* none_log_line)
      : choices_(choices), none_log_line_(none_log_line) {}

  std::span<const BoardSettingChoice> Choices() const { return choices_; }
  // The value list entry `index` stores. Outside the list (-1: nothing chosen) the first
  // entry's value is stored.
  std::uint8_t ValueAt(int index) const;
  // The line logged when entry `index` is chosen, and outside the list the line of no choice.
  const char* LogLineAt(int index) const;
  // The entry that shows `value`: the first entry for a value no entry holds.
  int IndexOf(std::uint8_t value) const;
  // The entry holding `value`, or nullptr when none does.
  const BoardSettingChoice* Find(std::uint8_t value) const;

 private:
  bool InList(int index) const;

  std::span<const BoardSettingChoice> choices_;
  const char* none_log_line_;
};

// The lists of board types (settings byte 0), path types (byte 1) and USB types (byte 2).
const BoardSettingList& BoardTypeList();
const BoardSettingList& PathTypeList();
const BoardSettingList& UsbTypeList();

// The board's on/off features.
enum class BoardFeature { kTyping, kBacklight, kSticky };
inline constexpr std::array<BoardFeature, 3> kBoardFeatures = {
    BoardFeature::kTyping, BoardFeature::kBacklight, BoardFeature::kSticky};

// "Typing", "Backlight", "Sticky": the caption of the feature's check box in the window and its
// name in qp40ctl.
const char* BoardFeatureName(BoardFeature feature);

}  // namespace qp40
