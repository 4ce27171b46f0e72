#include "layout/key_expression.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editing/key_edits.h"

namespace qp40 {
namespace {

constexpr std::array<std::uint8_t, 7> kOperandSamples = {0x00, 0x01, 0x02, 0x1F, 0x7F, 0x80, 0xFF};

// The text a string or burst record reads in these tests.
const std::string kSampleText = "Hi \"+:\\\xE9";

std::optional<std::string> TextFor(const KeyActionRecord& record) {
  if (KeyTextKindOf(record)) return kSampleText;
  return std::nullopt;
}

// parse(format(record)) gives the record back; a string or burst key gives its text, and its
// record all but the text's number, which storing the text sets.
::testing::AssertionResult RoundTrips(const KeyActionRecord& record) {
  const std::optional<std::string> text = TextFor(record);
  const std::string expression = FormatKeyExpression(record, text);
  const ParsedKeyExpression parsed = ParseKeyExpression(expression);
  const auto failure = [&] {
    return ::testing::AssertionFailure()
           << std::hex << int{record[0]} << " " << int{record[1]} << " " << int{record[2]} << " "
           << int{record[3]} << " as '" << expression << "': " << parsed.error;
  };
  if (!parsed.edit) return failure();
  KeyActionRecord expected = record;
  if (parsed.edit->text) {
    if (!text || parsed.edit->text->bytes != *text) return failure() << " (text)";
    expected[kKeyTextLowByte] = parsed.edit->record[kKeyTextLowByte];
  }
  if (parsed.edit->record != expected) return failure() << " (record)";
  return ::testing::AssertionSuccess();
}

// Every action code with every b1, and b2 and b3 sampled at their boundaries; then, for the
// codes whose b2 and b3 are operands, every b2 and b3.
TEST(KeyExpressionTest, EveryRecordRoundTrips) {
  for (unsigned b0 = 0; b0 <= 0xFF; ++b0) {
    for (unsigned b1 = 0; b1 <= 0xFF; ++b1) {
      for (const std::uint8_t b2 : kOperandSamples) {
        for (const std::uint8_t b3 : kOperandSamples) {
          const KeyActionRecord record = {static_cast<std::uint8_t>(b0),
                                          static_cast<std::uint8_t>(b1), b2, b3};
          ASSERT_TRUE(RoundTrips(record));
        }
      }
    }
  }
  for (const std::uint8_t b0 : {kActionMouse, kActionShortcut, kActionString, kActionMacro,
                                kActionTool, kActionReserved9, kActionNull, kActionModifierKey}) {
    for (const std::uint8_t b1 : {0x00, 0x03, 0xFF}) {
      for (unsigned b2 = 0; b2 <= 0xFF; ++b2) {
        for (unsigned b3 = 0; b3 <= 0xFF; ++b3) {
          const KeyActionRecord record = {b0, b1, static_cast<std::uint8_t>(b2),
                                          static_cast<std::uint8_t>(b3)};
          ASSERT_TRUE(RoundTrips(record));
        }
      }
    }
  }
}

// What the key dialog and key set build has a written form of its own, never record:…
TEST(KeyExpressionTest, EditsOfEveryTypeHaveTheirOwnForm) {
  std::vector<KeyEdit> edits = {DisabledEdit()};
  for (unsigned code = 0; code <= 0xFF; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    edits.push_back(KeyboardEdit(byte));
    edits.push_back(MediaEdit(byte));
    edits.push_back(ToolEdit(byte));
    edits.push_back(MouseEdit(byte, -128, 127));
    edits.push_back(TextEdit(KeypadTextKind::kString, "Hello", byte));
    edits.push_back(TextEdit(KeypadTextKind::kBurst, "abc", byte));
    for (unsigned key = 0; key <= 0xFF; ++key) {
      edits.push_back(ShortcutEdit(byte, static_cast<std::uint8_t>(key), 0));
      edits.push_back(ShortcutEdit(byte, 0x06, static_cast<std::uint8_t>(key)));
    }
  }
  for (std::uint8_t macro = 0; macro < 32; ++macro) {
    for (std::uint8_t stop = 0; stop < 3; ++stop) edits.push_back(MacroEdit(macro, stop));
  }
  for (const KeyEdit& edit : edits) {
    const std::optional<std::string> text =
        edit.text ? std::optional<std::string>(edit.text->bytes) : std::nullopt;
    const std::string expression = FormatKeyExpression(edit.record, text);
    EXPECT_FALSE(expression.starts_with("record:")) << expression;
    const ParsedKeyExpression parsed = ParseKeyExpression(expression);
    ASSERT_TRUE(parsed.edit) << expression << ": " << parsed.error;
    EXPECT_EQ(parsed.edit->record, edit.record) << expression;
  }
}

TEST(KeyExpressionTest, ExamplesGiveTheirRecordsAndFormatBack) {
  struct Case {
    const char* expression;
    KeyActionRecord record;
    const char* text = nullptr;       // keypad bytes of a string or burst key
    const char* formatted = nullptr;  // when formatting writes it otherwise
  };
  const std::vector<Case> cases = {
      {"Enter", {0x80, 0x28, 0, 0}},
      {"a", {0x80, 0x04, 0, 0}},
      {"A", {0x80, 0x04, 0, 0}, nullptr, "a"},
      {"Shift", {0x81, 0x02, 0xE1, 0}},
      {"\"Num+\"", {0x80, 0x57, 0, 0}},
      {"Num+", {0x80, 0x57, 0, 0}, nullptr, "\"Num+\""},
      {"\"\\\\\"", {0x80, 0x31, 0, 0}},
      {"key:100", {0x80, 0x64, 0, 0}},
      {"80290000", {0x80, 0x29, 0, 0}, nullptr, "Esc"},
      {"Ctrl+Shift+c", {0x84, 0x03, 0x06, 0}},
      {"ctrl+shift+C", {0x84, 0x03, 0x06, 0}, nullptr, "Ctrl+Shift+c"},
      {"Ctrl+Alt+Del", {0x84, 0x05, 0x4C, 0}},
      {"Ctrl++", {0x84, 0x01, 0x2E, 0}, nullptr, "Ctrl+="},
      {"Ctrl+\"Num+\"+x", {0x84, 0x01, 0x57, 0x1B}},
      {"Ctrl+\"Shift\"", {0x84, 0x01, 0xE1, 0}},
      {"Win_R+key:0+c", {0x84, 0x80, 0x00, 0x06}},
      {"shortcut:c", {0x84, 0x00, 0x06, 0}},
      {"shortcut:Ctrl", {0x84, 0x01, 0, 0}},
      {"shortcut:none", {0x84, 0, 0, 0}},
      {"media:Volume+", {0xA2, 6, 0, 0}},
      {"media:Bass Boost", {0xA2, 5, 0, 0}},
      {"media:30", {0xA2, 30, 0, 0}},
      {"mouse:Left", {0xA3, 0x01, 0, 0}},
      {"mouse:Left+Right(5,-5)", {0xA3, 0x03, 0x05, 0xFB}},
      {"mouse:Move(10,-10)", {0xA3, 0x00, 0x0A, 0xF6}},
      {"mouse:Move", {0xA3, 0x00, 0, 0}, nullptr, "mouse:Move(0,0)"},
      {"mouse:Wheel(-3)", {0xA3, 0xFF, 0x00, 0xFD}},
      {"mouse:Wheel(2,-3)", {0xA3, 0xFF, 0x02, 0xFD}},
      {"macro:5/auto", {0xB5, 5, 0, 0}},
      {"macro:31/second", {0xB5, 31, 0, 1}},
      {"macro:7", {0xB5, 7, 0, 2}, nullptr, "macro:7/release"},
      {"string:\"Hello\"", {0xB4, 0, 20, 0}, "Hello"},
      {"Ctrl+string:\"Hi\"", {0xB4, 0x01, 50, 0}, "Hi"},
      {"string:\"a+b:c\"/pace=40", {0xB4, 0, 40, 0}, "a+b:c"},
      {"string:\"caf\\xE9 \\\"q\\\" \\\\\"", {0xB4, 0, 20, 0}, "caf\xE9 \"q\" \\"},
      {"string:\"café\"", {0xB4, 0, 25, 0}, "caf\xE9", "string:\"caf\\xE9\""},
      {"burst:\"abc\"", {0xB3, 0, 0, 0}, "abc"},
      {"Ctrl+Shift+burst:\"DIM\"", {0xB3, 0x03, 0, 0}, "DIM"},
      {"tool:Profile", {0xBA, 0xEC, 0, 0}},
      {"Profile", {0xBA, 0xEC, 0, 0}, nullptr, "tool:Profile"},
      {"tool:236", {0xBA, 0xEC, 0, 0}, nullptr, "tool:Profile"},
      {"tool:Reboot", {0xBA, 0xF9, 0, 0}},
      {"tool:57", {0xBA, 57, 0, 0}},
      {"profile:2", {0xBA, 17, 0, 0}},
      {"disabled", {0x8F, 0, 0, 0}},
      {"reserved9:1,2,3", {0xBC, 1, 2, 3}},
      {"null:0,0,255", {0xBF, 0, 0, 255}},
      {"record:80290000", {0x80, 0x29, 0, 0}, nullptr, "Esc"},
      {"record:8029ab00", {0x80, 0x29, 0xAB, 0}, nullptr, "record:8029AB00"},
      {"record:00000000", {0, 0, 0, 0}},
      {"record:FFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    const ParsedKeyExpression parsed = ParseKeyExpression(c.expression);
    ASSERT_TRUE(parsed.edit) << parsed.error;
    KeyActionRecord record = parsed.edit->record;
    std::optional<std::string> text;
    if (c.text != nullptr) {
      ASSERT_TRUE(parsed.edit->text);
      EXPECT_EQ(parsed.edit->text->bytes, c.text);
      text = parsed.edit->text->bytes;
    } else {
      EXPECT_FALSE(parsed.edit->text);
    }
    EXPECT_EQ(record, c.record);
    EXPECT_EQ(FormatKeyExpression(record, text),
              c.formatted != nullptr ? c.formatted : c.expression);
  }
}

TEST(KeyExpressionTest, RefusalsSayWhatIsWrong) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"", "empty"},
      {"Entr", "'Entr' is no key name; did you mean Enter"},
      {"Ctrl+Entr", "'Entr' is no key name"},
      {"Ctrl+a+b+c", "more than two keys"},
      {"\"Num+", "no quoted key name"},
      {"\"Nun+\"", "'Nun+' is no key name; did you mean Num+"},
      {"media:Volume", "neither a media key name nor a code"},
      {"media:256", "neither a media key name nor a code"},
      {"mouse:Lefty", "is no mouse button"},
      {"mouse:Left(5)", "as (x,y)"},
      {"mouse:Move(128,0)", "-128..127"},
      {"mouse:Move(1,2", "misses its ')'"},
      {"macro:32", "macro number 0-31"},
      {"macro:5/later", "'later' is no stop mode"},
      {"string:Hello", "text in double quotes"},
      {"string:\"Hello", "text in double quotes"},
      {"string:\"Hi\"x", "'x' follows the text"},
      {"burst:\"Hi\"/pace=40", "follows the text"},
      {"string:\"bad \\q\"", "text in double quotes"},
      {"tool:Nothing", "is no key name"},
      {"profile:9", "profile 1-8"},
      {"reserved9:1,2", "three operands"},
      {"reserved9:1,2,3,4", "three operands"},
      {"record:8029", "8 hex digits"},
      {"record:CapsLock", "8 hex digits"},
      {"color:red", "is no kind of key"},
      {"Ctrl+media:Mute", "is no key name"},
      {"key:256", "key code 0-255"},
  };
  for (const auto& [expression, message] : cases) {
    const ParsedKeyExpression parsed = ParseKeyExpression(expression);
    EXPECT_FALSE(parsed.edit) << expression;
    EXPECT_NE(parsed.error.find(message), std::string::npos)
        << expression << " gave: " << parsed.error;
  }
}

// Every byte of a keypad text, quoting characters and all, comes back as it was.
TEST(KeyExpressionTest, EveryTextByteRoundTrips) {
  std::string all;
  for (unsigned byte = 1; byte <= 0xFF; ++byte) all += static_cast<char>(byte);
  for (const KeyActionRecord& record :
       {KeyActionRecord{0xB4, 0x05, 8, 1}, KeyActionRecord{0xB3, 0x80, 0, 2}}) {
    const std::string expression = FormatKeyExpression(record, all);
    for (const char c : expression) EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << expression;
    const ParsedKeyExpression parsed = ParseKeyExpression(expression);
    ASSERT_TRUE(parsed.edit) << parsed.error;
    ASSERT_TRUE(parsed.edit->text);
    EXPECT_EQ(parsed.edit->text->bytes, all);
  }
}

}  // namespace
}  // namespace qp40
