#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/editing_session.h"
#include "editing/key_attribute_ids.h"
#include "editing/key_edit.h"
#include "editing/keypad_text.h"
#include "editing/screen_keyboard.h"
#include "keys/key_action.h"
#include "model/configuration.h"

namespace qp40 {

// What the key configuration dialog does, without a window: its fields, what each type shows,
// how names become codes, what the screen keyboard writes, and the key edit OK computes. The Qt
// dialog shows this state and forwards the user's actions. Field texts are UTF-8; they become
// the keypad's single-byte texts in the edit. The configuration is only read (for the free
// string units); the caller applies the edit.
class KeyAttributeLogic {
 public:
  KeyAttributeLogic(EditingSession& session, const Configuration& config);

  // --- Set by the caller before Open ---
  void SetHeading(std::string heading) { heading_ = std::move(heading); }
  // The decoded record: its type index (none leaves the dialog's own, no type) and P0..P4, and
  // for a string or burst key the text it types now (keypad bytes; empty when it has none).
  void SetForm(const KeyActionForm& form, std::string_view key_text = {});

  // Fills the lists and fields from the form and shows the fields of its type.
  void Open();

  // --- What the user does ---
  // A selection in the type list: 0..11, or kTypeNoneSelected.
  void SelectType(int type_index);
  void SelectStopMode(int stop_mode);
  // The user changed the text of an edit field (4101..4106).
  void EditField(int id, std::string_view text);
  // A name field (4101..4103) received the input focus.
  void FocusField(int id);
  void SetChecked(int id, bool checked);
  // A click on a screen keyboard button while this dialog owns the keyboards.
  void TakePick(const ScreenKeyPick& pick);

  enum class ConfirmOutcome {
    kStore,       // the caller applies Edit() to the key
    kKeepRecord,  // the key keeps its record, string and burst entry; the dialog ends with OK
    kStayOpen,    // the caller could not apply the edit (a full table): nothing changed, and
                  // the dialog stays open
  };
  // OK: computes the form and the key edit; kStore or kKeepRecord.
  ConfirmOutcome Confirm();
  // The caller could not apply the edit: the dialog stays open as it was before OK.
  void EditRefused();

  // --- The state the dialog shows ---
  const std::string& Heading() const { return heading_; }
  // The type list's selection, kTypeNoneSelected when it has none.
  int TypeSelection() const { return type_selection_; }
  int StopModeSelection() const { return stop_mode_selection_; }
  // Text of an edit field or of a static whose text the dialog sets (labels, help); empty for
  // other ids.
  const std::string& Text(int id) const;
  bool Checked(int id) const;
  bool Visible(int id) const;
  // Where the input focus goes after a type change.
  int FocusTarget() const { return focus_target_; }
  // The name field the screen keyboard writes to, or kNoTargetField.
  int TargetField() const { return target_field_; }
  // "n/15" for a burst text, "n/252 (units free: N)" for a string, empty for other types.
  std::string LimitText() const;
  // The characters of the text field that the keypad will not keep (types 4 and 5).
  std::vector<std::string> UnstoredCharacters() const;

  // --- Results after OK ---
  // The type index and P0..P4 (type kTypeNoneSelected when the list had no selection).
  KeyActionForm Form() const;
  // The record Form() encodes to; nothing without a type.
  std::optional<KeyActionRecord> Record() const;
  // What OK asks of the key: the record and, for a string or burst key, its text; nothing
  // without a type.
  std::optional<KeyEdit> Edit() const;
  // The text of the chosen type list entry, empty when none was chosen.
  const std::string& LabelText() const { return label_text_; }

  // The type list's entries and the stop mode list's entries, in list order.
  static std::vector<std::string> TypeListEntries();
  static std::vector<std::string> StopModeEntries();

 private:
  // Sets a field's text as the dialog does, with the text-change handling that follows.
  void SetFieldText(int id, std::string text);
  void NameChanged(int name_id);
  void TypeChange();
  void Show(std::initializer_list<int> ids, bool shown);
  void SetText(int id, std::string text) { texts_[id] = std::move(text); }
  ConfirmOutcome ConfirmByType();

  EditingSession& session_;
  const Configuration& config_;

  std::string heading_;
  int type_ = kTypeNoneSelected;
  std::array<std::uint8_t, 5> p_{};
  std::string key_text_;
  std::string label_text_;
  int previous_stop_mode_ = 0;
  std::optional<KeyEditText> text_;
  int target_field_ = kNoTargetField;
  int type_selection_ = kTypeNoneSelected;
  int stop_mode_selection_ = 2;
  int focus_target_ = kIdKeyName1;
  std::map<int, std::string> texts_;
  std::map<int, bool> checked_;
  std::map<int, bool> visible_;
};

}  // namespace qp40
