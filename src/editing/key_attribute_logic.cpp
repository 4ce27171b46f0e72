#include "editing/key_attribute_logic.h"

#include <algorithm>

#include "editing/key_attribute_help.h"
#include "editing/key_edits.h"
#include "keys/decimal_text.h"
#include "keys/key_words.h"
#include "keys/name_tables.h"
#include "macros/burst_store.h"
#include "macros/string_store.h"

namespace qp40 {
namespace {

// The type list offers types 0..11; "C Null" is not among them.
constexpr int kListedTypes = 12;
constexpr int kDefaultStopMode = 2;
constexpr std::uint8_t kNoCode = 0xFF;

constexpr std::array<int, 3> kNameFields = {kIdKeyName1, kIdKeyName2, kIdKeyName3};
constexpr std::array<int, 3> kCodeFields = {kIdKeyCode1, kIdKeyCode2, kIdKeyCode3};
constexpr std::array<int, 7> kCheckBoxes = {kIdKeyCtrl,      kIdKeyAlt,       kIdKeyShift,
                                            kIdKeyWin,       kIdKeyMouseLeft, kIdKeyMouseMiddle,
                                            kIdKeyMouseRight};

// Bits of P0 and P1 and the check box of each.
struct CheckBit {
  int id;
  std::uint8_t bit;
};
constexpr std::array<CheckBit, 4> kModifierBoxes = {{{kIdKeyCtrl, kModifierCtrl},
                                                     {kIdKeyShift, kModifierShift},
                                                     {kIdKeyAlt, kModifierAlt},
                                                     {kIdKeyWin, kModifierWin}}};
constexpr std::array<CheckBit, 3> kMouseBoxes = {
    {{kIdKeyMouseLeft, 0x01}, {kIdKeyMouseRight, 0x02}, {kIdKeyMouseMiddle, 0x04}}};

// The controls a type change hides before it shows those of the new type.
constexpr auto kTypeControls = std::to_array<int>(
    {kIdKeyCtrl, kIdKeyAlt, kIdKeyShift, kIdKeyWin, kIdKeyMouseLeft, kIdKeyMouseMiddle,
     kIdKeyMouseRight, kIdKeyUnusedList, kIdKeyStopModeList, kIdKeyName1, kIdKeyName2, kIdKeyName3,
     kIdKeyCode1, kIdKeyCode2, kIdKeyCode3, kIdKeyRow1Label, kIdKeyRow2Label, kIdKeyRow3Label,
     kIdKeyCodeHeading});

// Controls hidden in the template until a type shows them.
constexpr auto kHiddenAtFirst =
    std::to_array<int>({kIdKeyCodeHeading, kIdKeyCode1, kIdKeyUnusedList, kIdKeyName2, kIdKeyCode2,
                        kIdKeyName3, kIdKeyCode3, kIdKeyCtrl, kIdKeyAlt, kIdKeyShift, kIdKeyWin,
                        kIdKeyMouseLeft, kIdKeyMouseMiddle, kIdKeyMouseRight, kIdKeyMouseWheel});

// Mouse names by P2 as the dialog shows a mouse key.
std::string MouseNameOfButtonByte(std::uint8_t button) {
  if (button == kMouseMove) return "Move";
  if (button == kMouseWheel) return "M_Wheel";
  for (std::size_t position = 0; position < 8; ++position) {
    if (button == (1u << position)) return std::string(MouseName(position));
  }
  return "Mouse";
}

std::string Decimal(int value) { return std::to_string(value); }

bool IsOneOf(int value, std::initializer_list<int> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

KeyAttributeLogic::KeyAttributeLogic(EditingSession& session, const Configuration& config)
    : session_(session), config_(config) {
  // The template's captions of the row labels, shown until a type replaces them.
  texts_[kIdKeyRow1Label] = "属性1";
  texts_[kIdKeyRow2Label] = "属性2";
  texts_[kIdKeyRow3Label] = "属性3";
  for (int id : kHiddenAtFirst) visible_[id] = false;
}

void KeyAttributeLogic::SetForm(const KeyActionForm& form, std::string_view key_text) {
  if (form.type) type_ = *form.type;
  p_ = {form.p0, form.p1, form.p2, form.p3, form.p4};
  key_text_ = std::string(key_text);
}

void KeyAttributeLogic::Open() {
  SetText(kIdKeyHeading, heading_);
  session_.screen_keyboard_owner = kOwnerKeyDialog;
  session_.type_change_counter = 0;

  type_selection_ = type_ >= 0 && type_ < kListedTypes ? type_ : kTypeNoneSelected;
  Show({kIdKeyUnusedList}, false);
  stop_mode_selection_ = kDefaultStopMode;

  for (std::size_t row = 0; row < 3; ++row) {
    const std::uint8_t code = p_[2 + row];
    if (code == 0) continue;
    SetFieldText(kNameFields[row], std::string(CodeToName(code, "")));
    SetFieldText(kCodeFields[row], Decimal(code));
  }

  switch (type_) {
    case kTypeMouse:
      SetFieldText(kIdKeyName1, MouseNameOfButtonByte(p_[2]));
      SetFieldText(kIdKeyName2, Decimal(static_cast<std::int8_t>(p_[3])));
      SetFieldText(kIdKeyName3, Decimal(static_cast<std::int8_t>(p_[4])));
      break;
    case kTypeMultimedia:
      SetFieldText(kIdKeyCode1, Decimal(p_[2]));
      // A code beyond the media table has no name: the name field stays empty.
      SetFieldText(kIdKeyName1, std::string(MediaKeyName(p_[2])));
      break;
    case kTypeMacro:
      SetFieldText(kIdKeyName1, Decimal(p_[2]));
      session_.remembered_stop_mode = p_[4];
      stop_mode_selection_ = p_[4] < kStopModeCount ? static_cast<int>(p_[4]) : kTypeNoneSelected;
      break;
    case kTypeBurst:
    case kTypeString:
      SetFieldText(kIdKeyName1, Utf8FromKeypadBytes(key_text_));
      SetFieldText(kIdKeyCode1, Decimal(p_[4]));
      break;
    default:
      break;
  }

  for (const CheckBit& box : kModifierBoxes) checked_[box.id] = (p_[0] & box.bit) != 0;
  for (const CheckBit& box : kMouseBoxes) checked_[box.id] = (p_[1] & box.bit) != 0;

  p_.fill(0);
  target_field_ = kNoTargetField;
  SetText(kIdKeyOk, "OK");
  SetText(kIdKeyCancel, "Cancel");
  SetText(kIdKeyScreenKeyboard, "Screen Keyboard");
  SetText(kIdKeyTypeLabel, "Key Type");
  SetText(kIdKeyColumnHeading, "Key Code");
  TypeChange();
}

void KeyAttributeLogic::SelectType(int type_index) {
  type_selection_ = type_index >= 0 && type_index < kListedTypes ? type_index : kTypeNoneSelected;
  TypeChange();
}

void KeyAttributeLogic::SelectStopMode(int stop_mode) {
  stop_mode_selection_ = stop_mode >= 0 && static_cast<std::size_t>(stop_mode) < kStopModeCount
                             ? stop_mode
                             : kTypeNoneSelected;
}

void KeyAttributeLogic::EditField(int id, std::string_view text) {
  if (IsOneOf(id, {kIdKeyName1, kIdKeyName2, kIdKeyName3, kIdKeyCode1, kIdKeyCode2, kIdKeyCode3})) {
    SetFieldText(id, std::string(text));
  }
}

void KeyAttributeLogic::FocusField(int id) {
  if (IsOneOf(id, {kIdKeyName1, kIdKeyName2, kIdKeyName3})) target_field_ = id;
}

void KeyAttributeLogic::SetChecked(int id, bool checked) {
  if (std::find(kCheckBoxes.begin(), kCheckBoxes.end(), id) != kCheckBoxes.end()) {
    checked_[id] = checked;
  }
}

void KeyAttributeLogic::TakePick(const ScreenKeyPick& pick) {
  if (session_.screen_keyboard_owner != kOwnerKeyDialog) return;
  const int target =
      IsOneOf(target_field_, {kIdKeyName1, kIdKeyName2, kIdKeyName3}) ? target_field_ : kIdKeyName1;
  if (IsOneOf(type_, {kTypeBurst, kTypeString, kTypeMacro})) {
    // While a text or a macro number is typed, only the keyboard picture's keys add their
    // character; media, mouse and tool buttons have none.
    if (pick.kind == PickKind::kScreenKey) {
      SetFieldText(
          target,
          Text(target) + std::string(ScreenKeyAt(static_cast<std::size_t>(pick.position)).text));
    }
    return;
  }
  SetFieldText(target, pick.name);
  if (pick.media_code) SetFieldText(kIdKeyCode1, Decimal(*pick.media_code));
}

KeyAttributeLogic::ConfirmOutcome KeyAttributeLogic::Confirm() {
  previous_stop_mode_ = session_.remembered_stop_mode;
  text_.reset();
  type_ = type_selection_;
  session_.remembered_stop_mode = stop_mode_selection_;
  if (type_ != kTypeNoneSelected) {
    label_text_ = std::string(TypeName(static_cast<std::size_t>(type_)));
  }

  p_[0] = 0;
  for (const CheckBit& box : kModifierBoxes) p_[0] |= Checked(box.id) ? box.bit : 0;
  p_[1] = 0;
  for (const CheckBit& box : kMouseBoxes) p_[1] |= Checked(box.id) ? box.bit : 0;
  for (std::size_t row = 0; row < 3; ++row) p_[2 + row] = DecimalLowByte(Text(kCodeFields[row]));

  const ConfirmOutcome outcome = ConfirmByType();
  if (outcome == ConfirmOutcome::kKeepRecord) label_text_.clear();
  return outcome;
}

void KeyAttributeLogic::EditRefused() {
  session_.remembered_stop_mode = previous_stop_mode_;
  label_text_.clear();
}

KeyAttributeLogic::ConfirmOutcome KeyAttributeLogic::ConfirmByType() {
  switch (type_) {
    case kTypeKeyboard:
      // A layer, profile or reboot code is a tools key.
      if (IsToolKeyCode(p_[2])) type_ = kTypeTool;
      break;
    case kTypeMultimedia:
      p_[3] = 0;
      p_[4] = 0;
      break;
    case kTypeMouse:
      p_[2] = MouseButtonByteOfName(Text(kIdKeyName1));
      p_[3] = DecimalLowByte(Text(kIdKeyName2));
      p_[4] = DecimalLowByte(Text(kIdKeyName3));
      break;
    case kTypeBurst: {
      // The entry number comes when the text is stored.
      text_ = KeyEditText{KeypadTextKind::kBurst, KeypadBytesFromUtf8(Text(kIdKeyName1)),
                          CharactersNotStored(Text(kIdKeyName1), KeypadTextKind::kBurst)};
      p_[2] = p_[0];
      p_[3] = 0;
      p_[4] = 0;
      break;
    }
    case kTypeString: {
      const std::string text = KeypadBytesFromUtf8(Text(kIdKeyName1));
      // An emptied text stores nothing: the key keeps its record and its string.
      if (text.empty()) return ConfirmOutcome::kKeepRecord;
      text_ = KeyEditText{KeypadTextKind::kString, text,
                          CharactersNotStored(Text(kIdKeyName1), KeypadTextKind::kString)};
      p_[2] = p_[0];
      p_[3] = PaceValue(text.size());
      p_[4] = 0;
      break;
    }
    case kTypeMacro:
      p_[2] = DecimalLowByte(Text(kIdKeyName1));
      p_[3] = 0;
      p_[4] = static_cast<std::uint8_t>(session_.remembered_stop_mode);
      break;
    case kTypeNoneSelected:
      // Without a type the key keeps its record, so it keeps its string and burst entry too.
      return ConfirmOutcome::kKeepRecord;
    default:
      break;
  }
  return ConfirmOutcome::kStore;
}

void KeyAttributeLogic::SetFieldText(int id, std::string text) {
  texts_[id] = std::move(text);
  // Setting a name field's text raises its text-change handling, also when the dialog sets it;
  // row 1 holds a text, not a name, for media, burst and string keys.
  const bool row_1_is_a_name =
      id == kIdKeyName1 && !IsOneOf(type_, {kTypeMultimedia, kTypeBurst, kTypeString});
  if (row_1_is_a_name || id == kIdKeyName2 || id == kIdKeyName3) {
    NameChanged(id);
  }
}

void KeyAttributeLogic::NameChanged(int name_id) {
  const int code_id = name_id - kIdKeyName1 + kIdKeyCode1;
  const WordLookupResult word = LookupWord(Text(name_id));
  texts_[code_id] = word.found && word.code != kNoCode ? Decimal(word.code) : std::string();
}

void KeyAttributeLogic::TypeChange() {
  ++session_.type_change_counter;
  type_ = type_selection_;

  for (int id : kTypeControls) visible_[id] = false;
  SetText(kIdKeyColumnHeading, "");
  SetText(kIdKeyKeyboardLabel, "Screen Keyboard");
  Show({kIdKeyScreenKeyboard}, true);
  focus_target_ = kIdKeyName1;

  if (session_.type_change_counter > 1) {
    p_.fill(0);
    for (int id : kNameFields) SetFieldText(id, "");
    for (int id : kCodeFields) SetFieldText(id, "");
    for (int id : kCheckBoxes) checked_[id] = false;
  }

  switch (type_) {
    case kTypeKeyboard:
      Show({kIdKeyName1, kIdKeyCode1, kIdKeyRow1Label, kIdKeyCodeHeading}, true);
      SetText(kIdKeyCodeHeading, "HID");
      SetText(kIdKeyColumnHeading, "Key Name");
      SetText(kIdKeyRow1Label, "Name");
      break;
    case kTypeMultimedia:
      Show({kIdKeyName1, kIdKeyCode1, kIdKeyRow1Label, kIdKeyCodeHeading}, true);
      SetText(kIdKeyCodeHeading, "No.");
      SetText(kIdKeyKeyboardLabel, "Media Button ");
      SetText(kIdKeyColumnHeading, "Button Name");
      SetText(kIdKeyRow1Label, "Name");
      break;
    case kTypeMouse:
      Show({kIdKeyName1, kIdKeyName2, kIdKeyName3, kIdKeyRow1Label, kIdKeyRow2Label,
            kIdKeyRow3Label},
           true);
      SetText(kIdKeyKeyboardLabel, "Mouse Button");
      SetText(kIdKeyRow1Label, "Name");
      SetText(kIdKeyRow2Label, "x_axis(-127~127)");
      SetText(kIdKeyRow3Label, "y_axis(-127~127)");
      SetText(kIdKeyColumnHeading, "Button Name");
      break;
    case kTypeShortcut:
      Show({kIdKeyCtrl, kIdKeyAlt, kIdKeyShift, kIdKeyWin, kIdKeyName2, kIdKeyName3, kIdKeyCode2,
            kIdKeyCode3, kIdKeyRow2Label, kIdKeyRow3Label, kIdKeyCodeHeading},
           true);
      SetText(kIdKeyKeyboardLabel, "Screen Keyboard");
      SetText(kIdKeyCodeHeading, "HID");
      SetText(kIdKeyColumnHeading, "");
      SetText(kIdKeyRow2Label, "Key 1");
      SetText(kIdKeyRow3Label, "Key 2");
      focus_target_ = kIdKeyName2;
      break;
    case kTypeBurst:
    case kTypeString:
      Show({kIdKeyCtrl, kIdKeyAlt, kIdKeyShift, kIdKeyWin, kIdKeyName1, kIdKeyCode1,
            kIdKeyRow1Label, kIdKeyCodeHeading},
           true);
      SetText(kIdKeyCodeHeading, "No.");
      SetText(kIdKeyColumnHeading, "String(ASCII 1~127)");
      SetText(kIdKeyRow1Label, "Edit");
      break;
    case kTypeMacro:
      Show({kIdKeyStopModeList, kIdKeyName1, kIdKeyRow1Label, kIdKeyRow2Label}, true);
      SetText(kIdKeyColumnHeading, "Hardware Macro No. (0~31)");
      SetText(kIdKeyRow1Label, "Number");
      SetText(kIdKeyRow2Label, "STOP Mode ");
      SelectStopMode(session_.remembered_stop_mode);
      break;
    case kTypeTool:
      Show({kIdKeyCode1, kIdKeyCodeHeading}, true);
      SetText(kIdKeyCodeHeading, "ID");
      break;
    case kTypeReserved9:
      Show({kIdKeyName1, kIdKeyCode1, kIdKeyRow1Label, kIdKeyCodeHeading}, true);
      SetText(kIdKeyRow1Label, "Key");
      SetText(kIdKeyCodeHeading, "No.");
      break;
    case kTypeReservedA:
      Show({kIdKeyName1, kIdKeyCode1, kIdKeyRow1Label, kIdKeyCodeHeading}, true);
      SetText(kIdKeyCodeHeading, "HID");
      SetText(kIdKeyColumnHeading, "Key Name");
      SetText(kIdKeyRow1Label, "Key");
      break;
    case kTypeReservedB:
      // The row label keeps whatever an earlier type gave it.
      Show({kIdKeyName1, kIdKeyCode1, kIdKeyRow1Label, kIdKeyCodeHeading}, true);
      SetText(kIdKeyCodeHeading, "HID");
      SetText(kIdKeyColumnHeading, "Key Name");
      break;
    default:
      break;
  }
  SetText(kIdKeyHelp, std::string(KeyTypeHelpText(type_)));
}

void KeyAttributeLogic::Show(std::initializer_list<int> ids, bool shown) {
  for (int id : ids) visible_[id] = shown;
}

const std::string& KeyAttributeLogic::Text(int id) const {
  static const std::string kEmpty;
  const auto found = texts_.find(id);
  return found == texts_.end() ? kEmpty : found->second;
}

bool KeyAttributeLogic::Checked(int id) const {
  const auto found = checked_.find(id);
  return found != checked_.end() && found->second;
}

bool KeyAttributeLogic::Visible(int id) const {
  const auto found = visible_.find(id);
  return found == visible_.end() || found->second;
}

std::string KeyAttributeLogic::LimitText() const {
  const std::size_t length = CharacterCount(Text(kIdKeyName1));
  if (type_ == kTypeBurst) return std::to_string(length) + "/" + std::to_string(kMaxBurstLength);
  if (type_ == kTypeString) {
    return std::to_string(length) + "/" + std::to_string(kMaxStringLength) + " (units free: " +
           std::to_string(FreeStringUnits(config_.string_unit_table, StringFormatOf(config_))) +
           ")";
  }
  return {};
}

std::vector<std::string> KeyAttributeLogic::UnstoredCharacters() const {
  if (type_ == kTypeBurst) return CharactersNotStored(Text(kIdKeyName1), KeypadTextKind::kBurst);
  if (type_ == kTypeString) return CharactersNotStored(Text(kIdKeyName1), KeypadTextKind::kString);
  return {};
}

KeyActionForm KeyAttributeLogic::Form() const {
  KeyActionForm form;
  form.type = type_;
  form.p0 = p_[0];
  form.p1 = p_[1];
  form.p2 = p_[2];
  form.p3 = p_[3];
  form.p4 = p_[4];
  return form;
}

std::optional<KeyActionRecord> KeyAttributeLogic::Record() const { return EncodeKeyAction(Form()); }

std::optional<KeyEdit> KeyAttributeLogic::Edit() const {
  const std::optional<KeyActionRecord> record = Record();
  if (!record) return std::nullopt;
  return KeyEdit{*record, text_};
}

std::vector<std::string> KeyAttributeLogic::TypeListEntries() {
  std::vector<std::string> entries;
  entries.reserve(kListedTypes);
  for (int type = 0; type < kListedTypes; ++type) {
    entries.emplace_back(TypeName(static_cast<std::size_t>(type)));
  }
  return entries;
}

std::vector<std::string> KeyAttributeLogic::StopModeEntries() {
  std::vector<std::string> entries;
  entries.reserve(kStopModeCount);
  for (std::size_t mode = 0; mode < kStopModeCount; ++mode) {
    entries.emplace_back(StopModeName(mode));
  }
  return entries;
}

}  // namespace qp40
