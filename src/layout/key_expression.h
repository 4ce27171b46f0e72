#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editing/key_edit.h"
#include "keys/key_action.h"

namespace qp40 {

// Key expressions: one written form for every key action record, used wherever a key is
// written or read as text (the command line, the layout file, its diff).
//
//   Enter, a, F5, "Num+"        keyboard key by its key word (quoted when it holds + : " \ or
//                               a blank); key:100 for a code without a name
//   Ctrl+Shift+c, Alt+F4       shortcut: modifiers, then one or two keys; shortcut:c and
//                               shortcut:Ctrl when there are no modifiers or no key
//   media:Volume+, media:30    multimedia key by name or code
//   mouse:Left, mouse:Left+Right(5,-5), mouse:Move(10,-10), mouse:Wheel(-3)
//   macro:5/auto               hardware macro 0..31, stopping auto, second or release
//   string:"Hello"             string key; Ctrl+string:"x" holds modifiers; string:"x"/pace=40
//                               when the pace is not the one its length gives
//   burst:"abc"                hotkey & burst key, modifiers as for strings
//   tool:Profile, tool:57      tools key by its key word (layer, profile, reboot) or its code
//   profile:2                  tools key choosing profile 1..8 (tool codes 16..23)
//   disabled                   disable key
//   reserved9:1,2,3 .. reservedB:…, null:1,2,3   the reserved types and Null with their operands
//   record:80290000            any record, byte for byte
//
// Modifiers are Ctrl, Shift, Alt, Win, Ctrl_R, Shift_R, Alt_R and Win_R, in any case.

// The expression of `record`. `text` is the keypad text of a string or burst record; without it
// such a record is written as record:…
std::string FormatKeyExpression(const KeyActionRecord& record,
                                const std::optional<std::string>& text);

// A parsed expression: the key edit, or a message saying what is wrong ("'Entr' is no key name;
// did you mean Enter, End, Attr?").
struct ParsedKeyExpression {
  std::optional<KeyEdit> edit;
  std::string error;
};

// The key edit an expression asks for. Also takes 8 hex digits alone, as a record. A string or
// burst key's edit carries its text; its record's text byte is set when the text is stored.
ParsedKeyExpression ParseKeyExpression(std::string_view expression);

}  // namespace qp40
