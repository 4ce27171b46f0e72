#include "editing/chord_editor_logic.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "keys/key_words.h"
#include "log/text_format.h"

namespace qp40 {
namespace {

constexpr std::size_t kChordValues = kChordCount * kChordRecordSize;
constexpr std::uint8_t kLeftModifierBits = 0x0F;
constexpr std::uint8_t kRightModifierBits = 0x70;
// Codes of the keys that switch the profile ("Profile" to "Profile4") and of "Reboot".
constexpr std::uint8_t kFirstProfileCode = 0xEC;
constexpr std::uint8_t kLastProfileCode = 0xEF;
constexpr std::uint8_t kRebootCode = 0xF9;

const std::string kNoText;

struct FieldName {
  int id;
  std::string_view label;
};
constexpr FieldName kFieldLabels[] = {
    {kIdChordKey1, "Key_1"},       {kIdChordKey2, "Key_2"},       {kIdChordOutput1, "Output 1"},
    {kIdChordOutput2, "Output 2"}, {kIdChordOutput3, "Output 3"}, {kIdChordOutput4, "Output 4"},
    {kIdChordOutput5, "Output 5"}, {kIdChordSixth, "Output 6"},
};

// Record byte of each field of kChordKeyFields: the triggers, then the outputs after byte 2.
constexpr std::size_t RecordByteOfField(std::size_t field_index) {
  return field_index < 2 ? field_index : field_index + 1;
}

bool IsRecordField(int id) {
  return std::any_of(std::begin(kFieldLabels), std::end(kFieldLabels),
                     [id](const FieldName& field) { return field.id == id; });
}

std::optional<std::size_t> BoxIndex(int box_id) {
  const auto* box = std::find(kChordModifierBoxIds.begin(), kChordModifierBoxIds.end(), box_id);
  if (box == kChordModifierBoxIds.end()) return std::nullopt;
  return static_cast<std::size_t>(box - kChordModifierBoxIds.begin());
}

bool IsSystemKey(std::uint8_t code) {
  return (code >= kFirstProfileCode && code <= kLastProfileCode) || code == kRebootCode;
}

bool HasOutput(const ChordRecord& record) {
  for (std::size_t i = 0; i < kChordOutputCount; ++i) {
    if (record[kChordFirstOutput + i] != 0) return true;
  }
  const std::uint8_t modifiers = record[kChordModifiers];
  return (modifiers & kChordSixthKeyFlag) != 0 && (modifiers & kChordSixthKeyMask) != 0;
}

bool SameTriggers(const ChordRecord& a, const ChordRecord& b) {
  const std::uint8_t a0 = a[kChordFirstKey];
  const std::uint8_t a1 = a[kChordSecondKey];
  const std::uint8_t b0 = b[kChordFirstKey];
  const std::uint8_t b1 = b[kChordSecondKey];
  return (a0 == b0 && a1 == b1) || (a0 == b1 && a1 == b0);
}

bool HasTriggers(const ChordRecord& record) {
  return record[kChordFirstKey] != 0 || record[kChordSecondKey] != 0;
}

}  // namespace

std::optional<std::size_t> ChordModifierBox(std::string_view word) {
  for (std::size_t box = 0; box < kChordModifierWords.size(); ++box) {
    const std::string_view name = kChordModifierWords[box];
    if (name.size() == word.size() &&
        std::equal(name.begin(), name.end(), word.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return box;
    }
  }
  return std::nullopt;
}

std::array<ChordCheck, kChordCount> CheckChords(const ChordTable& table) {
  std::array<ChordCheck, kChordCount> checks{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ChordRecord& record = table[i];
    if (!HasTriggers(record)) continue;
    ChordCheck& check = checks[i];
    for (std::size_t other = 0; other < table.size(); ++other) {
      if (other != i && SameTriggers(record, table[other])) {
        check.same_triggers_as = static_cast<int>(other + 1);
        break;
      }
    }
    check.triggers_without_output = !HasOutput(record);
    check.system_key_trigger =
        IsSystemKey(record[kChordFirstKey]) || IsSystemKey(record[kChordSecondKey]);
  }
  return checks;
}

std::string ChordFlagText(const ChordCheck& check) {
  std::string text;
  const auto add = [&text](const std::string& problem) {
    text += text.empty() ? "   ! " : "; ";
    text += problem;
  };
  if (check.same_triggers_as != 0) {
    add(FormatText("same keys as No.%d", check.same_triggers_as));
  }
  if (check.triggers_without_output) add("no output");
  if (check.system_key_trigger) add("a trigger switches the profile or reboots");
  return text;
}

std::optional<std::string> GridKeyTriggerName(const KeyActionRecord& record) {
  const KeyActionForm form = DecodeKeyAction(record);
  if (form.type != kTypeKeyboard && form.type != kTypeTool) return std::nullopt;
  const std::string_view name = ChordKeyName(form.p2);
  if (name.empty()) return std::nullopt;
  return std::string(name);
}

ChordEditorLogic::ChordEditorLogic(EditingSession& session, ChordTable& table, Notifier& notifier)
    : session_(session), table_(table), notifier_(notifier) {}

void ChordEditorLogic::Open() {
  session_.screen_keyboard_owner = kOwnerChordEditor;
  focused_field_ = kChordDefaultPickField;
  selection_ = -1;
  list_pane_ = kChordLoadingText;
  pane_checks_.clear();
  shown_ = Current();
}

std::string_view ChordEditorLogic::FieldLabel(int id) {
  for (const FieldName& field : kFieldLabels) {
    if (field.id == id) return field.label;
  }
  return {};
}

const std::string& ChordEditorLogic::FieldText(int id) const {
  const auto text = texts_.find(id);
  return text == texts_.end() ? kNoText : text->second;
}

bool ChordEditorLogic::Checked(int box_id) const {
  const std::optional<std::size_t> box = BoxIndex(box_id);
  return box && boxes_[*box];
}

ChordEditorLogic::Shown ChordEditorLogic::Current() const {
  Shown current;
  for (const FieldName& field : kFieldLabels) current.texts[field.id] = FieldText(field.id);
  current.boxes = boxes_;
  return current;
}

bool ChordEditorLogic::UnconfirmedChanges() const {
  const Shown current = Current();
  return current.texts != shown_.texts || current.boxes != shown_.boxes;
}

void ChordEditorLogic::Show(const ChordRecord& record) {
  const ChordFieldTexts fields = ChordFields(record);
  if (fields.modifier_boxes) boxes_ = *fields.modifier_boxes;
  texts_[kIdChordSixth] = fields.sixth_output;
  texts_[kIdChordKey1] = fields.first_key;
  texts_[kIdChordKey2] = fields.second_key;
  for (std::size_t i = 0; i < kChordOutputCount; ++i) {
    texts_[kChordKeyFields[2 + i]] = fields.outputs[i];
  }
  shown_ = Current();
}

void ChordEditorLogic::RebuildListPane() {
  const std::array<ChordCheck, kChordCount> checks = CheckChords(table_);
  const std::string list = ChordListText(table_);
  list_pane_.clear();
  std::size_t start = 0;
  for (const ChordCheck& check : checks) {
    const std::size_t end = list.find("\r\n", start);
    list_pane_.append(list, start, end - start);
    list_pane_ += ChordFlagText(check);
    list_pane_ += "\r\n";
    start = end + 2;
  }
  pane_checks_.assign(checks.begin(), checks.end());
}

void ChordEditorLogic::Select(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table_.size()) {
    selection_ = -1;
    return;
  }
  selection_ = index;
  Show(table_[static_cast<std::size_t>(index)]);
}

void ChordEditorLogic::EditField(int id, std::string text) {
  if (IsRecordField(id)) texts_[id] = std::move(text);
}

void ChordEditorLogic::SetChecked(int box_id, bool checked) {
  if (const std::optional<std::size_t> box = BoxIndex(box_id)) boxes_[*box] = checked;
}

void ChordEditorLogic::FocusField(int id) {
  if (ChordPickField(id) == id) focused_field_ = id;
}

void ChordEditorLogic::TakePick(const ScreenKeyPick& pick) {
  if (session_.screen_keyboard_owner != kOwnerChordEditor) return;
  texts_[ChordPickField(focused_field_)] = pick.name;
}

ChordEditorLogic::GridPick ChordEditorLogic::TakeGridKey(const KeyActionRecord& record, int row,
                                                         int column) {
  if (focused_field_ != kIdChordKey1 && focused_field_ != kIdChordKey2) {
    notifier_.ShowMessage(
        "Click into Key_1 or Key_2 first: a key of the grid then becomes that trigger key.");
    return GridPick::kNoTriggerField;
  }
  const std::optional<std::string> name = GridKeyTriggerName(record);
  if (!name) {
    notifier_.ShowMessage(FormatText(
        "Key%d%d sends no single keyboard key, so it cannot be a trigger key.", row, column));
    return GridPick::kNoKeyName;
  }
  texts_[focused_field_] = *name;
  return GridPick::kWritten;
}

std::optional<std::uint8_t> ChordEditorLogic::FieldCode(int id) {
  const std::string& text = FieldText(id);
  const WordLookupResult word = LookupWord(text);
  if (!word.found) {
    notifier_.ShowMessage(FormatText("%s: \"%s\" is no key name. Record # %02d is unchanged.",
                                     std::string(FieldLabel(id)).c_str(), text.c_str(),
                                     selection_ + 1));
    return std::nullopt;
  }
  return word.code;
}

ChordEditorLogic::ConfirmResult ChordEditorLogic::Confirm() {
  if (selection_ < 0) {
    notifier_.ShowMessage(kChordNoSelectionMessage);
    return {ConfirmStatus::kNoSelection, 0};
  }
  ChordRecord& target = table_[static_cast<std::size_t>(selection_)];
  ChordRecord record = target;
  for (std::size_t i = 0; i < kChordKeyFields.size(); ++i) {
    const int id = kChordKeyFields[i];
    if (FieldText(id) == shown_.texts[id]) continue;
    const std::optional<std::uint8_t> code = FieldCode(id);
    if (!code) return {ConfirmStatus::kUnknownName, id};
    record[RecordByteOfField(i)] = *code;
  }

  const bool sixth_changed = FieldText(kIdChordSixth) != shown_.texts[kIdChordSixth];
  if (sixth_changed || boxes_ != shown_.boxes) {
    std::uint8_t sixth = 0;
    if (!FieldText(kIdChordSixth).empty()) {
      const std::optional<std::uint8_t> code = FieldCode(kIdChordSixth);
      if (!code) return {ConfirmStatus::kUnknownName, kIdChordSixth};
      if (*code > kChordSixthKeyMask) {
        notifier_.ShowMessage(FormatText(
            "Output 6: \"%s\" has the code 0x%02X; a sixth character takes codes up to 0x7F "
            "only. Record # %02d is unchanged.",
            FieldText(kIdChordSixth).c_str(), *code, selection_ + 1));
        return {ConfirmStatus::kNotASixthCharacter, kIdChordSixth};
      }
      sixth = *code;
    }
    if (sixth != 0) {
      record[kChordModifiers] = kChordSixthKeyFlag | sixth;
    } else {
      // The boxes stand for the left-hand bits; right-hand modifiers of the record stay.
      const std::uint8_t old = record[kChordModifiers];
      std::uint8_t modifiers = (old & kChordSixthKeyFlag) != 0 ? 0 : (old & kRightModifierBits);
      for (std::size_t bit = 0; bit < boxes_.size(); ++bit) {
        if (boxes_[bit]) modifiers |= static_cast<std::uint8_t>(1u << bit);
      }
      record[kChordModifiers] = modifiers & (kRightModifierBits | kLeftModifierBits);
    }
  }
  target = record;
  Show(target);
  RebuildListPane();
  return {ConfirmStatus::kStored, 0};
}

bool ChordEditorLogic::Cut() {
  if (!CutChord(table_, selection_)) {
    notifier_.ShowMessage(kChordNoSelectionMessage);
    return false;
  }
  Show(table_[static_cast<std::size_t>(selection_)]);
  RebuildListPane();
  return true;
}

ChordImportResult ChordEditorLogic::Import(const std::filesystem::path& path) {
  const ChordImportResult result = LoadChordFile(path, table_);
  switch (result.status) {
    case ChordImportStatus::kCannotOpen:
      notifier_.ShowMessage(std::string(kChordFileOpenFailedMessage) + path.string());
      return result;
    case ChordImportStatus::kUnknownFile:
      notifier_.ShowMessage(kUnknownChordFileMessage);
      return result;
    case ChordImportStatus::kImported:
      break;
  }
  if (result.values_read == kChordValues) {
    session_.chords_in_file = table_;
  } else {
    notifier_.ShowMessage(
        FormatText("The chord file ends early: %zu of %zu values were read. The records after "
                   "the break keep what they held.",
                   result.values_read, kChordValues));
  }
  if (selection_ >= 0) Show(table_[static_cast<std::size_t>(selection_)]);
  RebuildListPane();
  return result;
}

bool ChordEditorLogic::Export(const std::filesystem::path& path) {
  if (!SaveChordFile(path, table_)) {
    notifier_.ShowMessage("The chord file " + path.string() +
                          " could not be written; a file of that name is left as it was.");
    return false;
  }
  session_.chords_in_file = table_;
  return true;
}

}  // namespace qp40
