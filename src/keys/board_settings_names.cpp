#include "keys/board_settings_names.h"

#include <cstddef>

#include "keys/board_layout.h"

namespace qp40 {
namespace {

// The entries are numbered 0, 1, 3 and 4, as the window shows them.
constexpr BoardSettingChoice kBoardTypeChoices[] = {
    {kBoard48Keys, "0# 48Key", ">> Board Type = 48 Keys", "48 keys"},
    {kBoard46Keys, "1# 46Key", ">> Board Type = 46 Keys", "46 keys"},
    {kBoard44Keys, "3# 44Key", ">> Board Type = 44 Keys", "44 keys"},
    {kBoard43Keys, "4# 43Key", ">> Board Type = 43 Keys", "43 keys"},
};

constexpr BoardSettingChoice kPathTypeChoices[] = {
    {0, "0# USB", ">> Path Type = USB ", "USB"},
    {1, "1# BlueTooth", ">> Path Type = BlueTooth", "BlueTooth"},
    {2, "2# Mirror", ">> Path Type = Mirror", "Mirror"},
};

constexpr BoardSettingChoice kUsbTypeChoices[] = {
    {0, "0# Basic", ">> USB Type = Basic Keyboard", "Basic Keyboard"},
    {1, "1# Gaming", ">> USB Type = Gaming Keyboard", "Gaming Keyboard"},
};

constexpr BoardSettingList kBoardTypeList{kBoardTypeChoices, ">> Board Type = 48 Keys"};
constexpr BoardSettingList kPathTypeList{kPathTypeChoices, ">> Defatul Path Type = USB"};
constexpr BoardSettingList kUsbTypeList{kUsbTypeChoices, ">> Default Basic Keyboard"};

}  // namespace

bool BoardSettingList::InList(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < choices_.size();
}

std::uint8_t BoardSettingList::ValueAt(int index) const {
  return choices_[InList(index) ? static_cast<std::size_t>(index) : 0].value;
}

const char* BoardSettingList::LogLineAt(int index) const {
  return InList(index) ? choices_[static_cast<std::size_t>(index)].log_line : none_log_line_;
}

int BoardSettingList::IndexOf(std::uint8_t value) const {
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    if (choices_[i].value == value) return static_cast<int>(i);
  }
  return 0;
}

const BoardSettingChoice* BoardSettingList::Find(std::uint8_t value) const {
  for (const BoardSettingChoice& choice : choices_) {
    if (choice.value == value) return &choice;
  }
  return nullptr;
}

const BoardSettingList& BoardTypeList() { return kBoardTypeList; }
const BoardSettingList& PathTypeList() { return kPathTypeList; }
const BoardSettingList& UsbTypeList() { return kUsbTypeList; }

const char* BoardFeatureName(BoardFeature feature) {
  switch (feature) {
    case BoardFeature::kTyping:
      return "Typing";
    case BoardFeature::kBacklight:
      return "Backlight";
    case BoardFeature::kSticky:
      return "Sticky";
  }
  return "";
}

}  // namespace qp40
