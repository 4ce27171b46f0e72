#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chords/chord_file.h"
#include "chords/chord_table.h"
#include "chords/chord_text.h"
#include "editing/chord_editor_ids.h"
#include "editing/editing_session.h"
#include "editing/screen_keyboard.h"
#include "keys/key_action.h"
#include "log/notifier.h"

namespace qp40 {

// Texts of the chord editor.
inline constexpr std::string_view kChordEditorTitle = "TwoKeyClick Editor";
inline constexpr std::string_view kChordLoadingText = "Loading the configuration from keyboard";
inline constexpr std::string_view kChordRecordFormat = "# %2.2d";
inline constexpr std::string_view kChordFileFilter = "Text File(*.txt)";
inline constexpr std::string_view kChordFileSuffix = "txt";
inline constexpr std::string_view kChordNoSelectionMessage =
    "Select a record (# 01 to # 32) in the No. list first.";
inline constexpr std::string_view kChordDiscardQuestion =
    "The fields hold changes to the record shown that were not confirmed with OK.\n\n"
    "Discard them?";
inline constexpr std::string_view kChordExportQuestion =
    "The chord table has changes that no chord file holds. The tool keeps no files of its own, "
    "so they are lost when the program ends.\n\n"
    "OK exports the table to a chord file now; Cancel closes the editor without exporting.";
inline constexpr std::string_view kChordOnboardTooltip =
    "Chords are kept in chord files, not on the keypad: \"Backup to PC\" saves the table to a "
    "file and \"Load Backup\" brings it back.";

// The modifier check boxes' captions, in the order of their bits; also the words qp40ctl takes.
inline constexpr std::array<std::string_view, kChordModifierBoxes> kChordModifierWords = {
    "Ctrl", "Shift", "Alt", "Win"};
// The check box (0..3) of a modifier word in any case; nothing for another word.
std::optional<std::size_t> ChordModifierBox(std::string_view word);

// What the list pane flags on a chord's line; none of them is refused.
struct ChordCheck {
  // The number (1..32) of the first other record with the same two trigger keys, in either
  // order; 0 when there is none.
  int same_triggers_as = 0;
  bool triggers_without_output = false;
  // A trigger key that switches the profile or reboots the keypad by itself.
  bool system_key_trigger = false;

  bool Flagged() const {
    return same_triggers_as != 0 || triggers_without_output || system_key_trigger;
  }
};
std::array<ChordCheck, kChordCount> CheckChords(const ChordTable& table);
// The flag text a line of the list pane ends with; empty for a record without problems.
std::string ChordFlagText(const ChordCheck& check);

// The name a key of the grid gives a trigger field: the key code a keyboard or tools key sends;
// nothing for a key that sends no single key code with a name.
std::optional<std::string> GridKeyTriggerName(const KeyActionRecord& record);

// What the two-key chord editor does, without a window: the fields of the shown record, what OK
// writes back, Cut, the chord files and the list pane with its flags. The Qt dialog shows this
// state and forwards what the user does; qp40ctl drives it the same way. Texts are UTF-8.
class ChordEditorLogic {
 public:
  ChordEditorLogic(EditingSession& session, ChordTable& table, Notifier& notifier);

  // The editor takes the screen keyboards' picks, the focus is on Key_1 and the list pane says
  // the table is loading; no record is selected.
  void Open();

  // --- What the user does ---
  // A choice in the record list: 0..31 shows that record; -1 (text typed into the list's edit
  // field) selects none and keeps the fields. The caller asks first when UnconfirmedChanges().
  void Select(int index);
  void EditField(int id, std::string text);
  void SetChecked(int box_id, bool checked);
  // A control got the input focus. Only a record field becomes the focused field: the screen
  // keyboard's picks go to the record field focused last, whatever button, list or keyboard
  // window took the focus after it.
  void FocusField(int id);
  // A click on a screen keyboard button while the editor owns the keyboards.
  void TakePick(const ScreenKeyPick& pick);

  enum class GridPick {
    kWritten,         // the key's name is in the focused trigger field
    kNoTriggerField,  // the focus was last in no trigger field: nothing changed
    kNoKeyName,       // the key sends no single named key code: nothing changed
  };
  // A click on the grid key at row, column, whose record is `record`.
  GridPick TakeGridKey(const KeyActionRecord& record, int row, int column);

  enum class ConfirmStatus {
    kStored,              // the record holds the fields now
    kNoSelection,         // no record is selected
    kUnknownName,         // `field` holds a name the word lookup does not know
    kNotASixthCharacter,  // the name in field 1131 has a code above 0x7F
  };
  struct ConfirmResult {
    ConfirmStatus status = ConfirmStatus::kStored;
    int field = 0;
  };
  // OK: writes the fields into the selected record. A refusal is told to the user and changes
  // nothing. Fields left as they were shown keep their bytes, so a code without a name survives.
  ConfirmResult Confirm();
  // Clears the selected record; false (the user is told) without a selection.
  bool Cut();
  // Reads a chord file into the table and shows the selected record again; the user is told of
  // a file that cannot be opened, is no chord file or ends early.
  ChordImportResult Import(const std::filesystem::path& path);
  // Writes the table to a chord file through a temporary file; false (the user is told) when it
  // cannot be written, and any old file stays as it was.
  bool Export(const std::filesystem::path& path);

  // --- The state the dialog shows ---
  int Selection() const { return selection_; }
  int FocusedField() const { return focused_field_; }
  // Text of a record field (1124..1127, 1130, 1131, 1142, 1143); empty for other ids.
  const std::string& FieldText(int id) const;
  bool Checked(int box_id) const;
  // False while field 1131 names a sixth character: the record then carries no modifiers, and
  // OK leaves the boxes out.
  bool ModifierBoxesApply() const { return FieldText(kIdChordSixth).empty(); }
  // The list pane: the loading text until the first rebuild, then one line per record, each
  // ended by CR LF, with the flag text of a record that has problems before the line end.
  const std::string& ListPane() const { return list_pane_; }
  // The checks behind the flags of the list pane now; empty before the first rebuild.
  const std::vector<ChordCheck>& PaneChecks() const { return pane_checks_; }
  // Whether the fields or boxes differ from what the selected record showed.
  bool UnconfirmedChanges() const;
  // Whether the table differs from what the last chord file exported or imported holds.
  bool Unexported() const { return table_ != session_.chords_in_file; }
  const ChordTable& Table() const { return table_; }

  // Name of a record field in messages: "Key_1", "Output 1", ...
  static std::string_view FieldLabel(int id);

 private:
  struct Shown {
    std::map<int, std::string> texts;
    std::array<bool, kChordModifierBoxes> boxes{};
  };
  void Show(const ChordRecord& record);
  void RebuildListPane();
  Shown Current() const;
  std::optional<std::uint8_t> FieldCode(int id);

  EditingSession& session_;
  ChordTable& table_;
  Notifier& notifier_;
  int selection_ = -1;
  int focused_field_ = kChordDefaultPickField;
  std::map<int, std::string> texts_;
  std::array<bool, kChordModifierBoxes> boxes_{};
  Shown shown_;
  std::string list_pane_;
  std::vector<ChordCheck> pane_checks_;
};

}  // namespace qp40
