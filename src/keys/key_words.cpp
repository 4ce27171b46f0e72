#include "keys/key_words.h"

#include <algorithm>
#include <array>

#include "keys/decimal_text.h"

namespace qp40 {
namespace {

// Listed in index order. The duplicates are deliberate: lookups stop at the first match, so the
// lower-case letters, the digits and "#" (0x32) win over their later namesakes.
constexpr std::array<KeyWord, kKeyWordCount> kKeyWords = {{
    // 0..25: lower-case letters.
    {"a", 0x04},
    {"b", 0x05},
    {"c", 0x06},
    {"d", 0x07},
    {"e", 0x08},
    {"f", 0x09},
    {"g", 0x0A},
    {"h", 0x0B},
    {"i", 0x0C},
    {"j", 0x0D},
    {"k", 0x0E},
    {"l", 0x0F},
    {"m", 0x10},
    {"n", 0x11},
    {"o", 0x12},
    {"p", 0x13},
    {"q", 0x14},
    {"r", 0x15},
    {"s", 0x16},
    {"t", 0x17},
    {"u", 0x18},
    {"v", 0x19},
    {"w", 0x1A},
    {"x", 0x1B},
    {"y", 0x1C},
    {"z", 0x1D},
    // 26..51: upper-case letters share the codes of the lower-case ones.
    {"A", 0x04},
    {"B", 0x05},
    {"C", 0x06},
    {"D", 0x07},
    {"E", 0x08},
    {"F", 0x09},
    {"G", 0x0A},
    {"H", 0x0B},
    {"I", 0x0C},
    {"J", 0x0D},
    {"K", 0x0E},
    {"L", 0x0F},
    {"M", 0x10},
    {"N", 0x11},
    {"O", 0x12},
    {"P", 0x13},
    {"Q", 0x14},
    {"R", 0x15},
    {"S", 0x16},
    {"T", 0x17},
    {"U", 0x18},
    {"V", 0x19},
    {"W", 0x1A},
    {"X", 0x1B},
    {"Y", 0x1C},
    {"Z", 0x1D},
    // 52..61: digits.
    {"1", 0x1E},
    {"2", 0x1F},
    {"3", 0x20},
    {"4", 0x21},
    {"5", 0x22},
    {"6", 0x23},
    {"7", 0x24},
    {"8", 0x25},
    {"9", 0x26},
    {"0", 0x27},
    // 62..79.
    {"Enter", 0x28},
    {"Esc", 0x29},
    {"Backspace", 0x2A},
    {"Tab", 0x2B},
    {"Space", 0x2C},
    {"-", 0x2D},
    {"=", 0x2E},
    {"[", 0x2F},
    {"]", 0x30},
    {"\\", 0x31},
    {"#", 0x32},
    {";", 0x33},
    {"'", 0x34},
    {"`", 0x35},
    {",", 0x36},
    {".", 0x37},
    {"/", 0x38},
    {"CapsLock", 0x39},
    // 80..89.
    {"F1", 0x3A},
    {"F2", 0x3B},
    {"F3", 0x3C},
    {"F4", 0x3D},
    {"F5", 0x3E},
    {"F6", 0x3F},
    {"F7", 0x40},
    {"F8", 0x41},
    {"F9", 0x42},
    {"F10", 0x43},
    // 90..99: shifted digits share the codes of their digits.
    {"!", 0x1E},
    {"@", 0x1F},
    {"#", 0x20},
    {"$", 0x21},
    {"%", 0x22},
    {"^", 0x23},
    {"&", 0x24},
    {"*", 0x25},
    {"(", 0x26},
    {")", 0x27},
    // 100..131.
    {"F11", 0x44},
    {"F12", 0x45},
    {"PrtSc", 0x46},
    {"Scroll", 0x47},
    {"Pause", 0x48},
    {"Insert", 0x49},
    {"Home", 0x4A},
    {"PageUp", 0x4B},
    {"Del", 0x4C},
    {"End", 0x4D},
    {"PageDown", 0x4E},
    {"Right", 0x4F},
    {"Left", 0x50},
    {"Down", 0x51},
    {"Up", 0x52},
    {"NumLock", 0x53},
    {"Num/", 0x54},
    {"Num*", 0x55},
    {"Num-", 0x56},
    {"Num+", 0x57},
    {"NumEnter", 0x58},
    {"Num1", 0x59},
    {"Num2", 0x5A},
    {"Num3", 0x5B},
    {"Num4", 0x5C},
    {"Num5", 0x5D},
    {"Num6", 0x5E},
    {"Num7", 0x5F},
    {"Num8", 0x60},
    {"Num9", 0x61},
    {"Num0", 0x62},
    {"Num.", 0x63},
    // 132..139: modifiers, bit n of the modifier byte is code 0xE0 + n.
    {"Ctrl", 0xE0},
    {"Shift", 0xE1},
    {"Alt", 0xE2},
    {"Window", 0xE3},
    {"Ctrl_R", 0xE4},
    {"Shift_R", 0xE5},
    {"Alt_R", 0xE6},
    {"Win_R", 0xE7},
    // 140..145.
    {"Fn1", 0xA5},
    {"Attr", 0x65},
    {"Null", 0xFF},
    {"Mouse", 0xFF},
    {"Disabled", 0xFF},
    {"Fn2", 0xA6},
    // 146..153: macro keys.
    {"M1", 0xC6},
    {"M2", 0xC7},
    {"M3", 0xC8},
    {"M4", 0xC9},
    {"M5", 0xCC},
    {"M6", 0xCD},
    {"M7", 0xCE},
    {"M8", 0xCF},
    // 154..162.
    {"Light", 0xCA},
    {"Cfg0", 0xC0},
    {"Cfg1", 0xC1},
    {"Cfg2", 0xC2},
    {"Cfg3", 0xC3},
    {"J1", 0x87},
    {"J2", 0x88},
    {"J3", 0x8A},
    {"J4", 0x8B},
    // 163..172: mouse functions.
    {"M_Left", 0xF1},
    {"M_Right", 0xF2},
    {"M_Middle", 0xF3},
    {"M_Button4", 0xF4},
    {"M_Button5", 0xF5},
    {"M_Button6", 0xF6},
    {"M_Button7", 0xF7},
    {"M_Button8", 0xF8},
    {"M_Wheel", 0xF0},
    {"Move", 0xFE},
    // 173..180: layers and profiles.
    {"Layer1Up", 0xE8},
    {"Layer2Up", 0xE9},
    {"Layer", 0xEA},
    {"Layer2Lock", 0xEB},
    {"Profile", 0xEC},
    {"Profile2", 0xED},
    {"Profile3", 0xEE},
    {"Profile4", 0xEF},
    // 181..192: words of the macro language; "~" really carries 0x34.
    {"press", 0x80},
    {"release", 0x79},
    {"click", 0x78},
    {"delay", 0x74},
    {"pause", 0x77},
    {"mouse", 0xA3},
    {"jump", 0x73},
    {"~", 0x34},
    {"_", 0x2D},
    {"+", 0x2E},
    {"string", 0xB4},
    {"burst", 0xB3},
    // 193: the empty word, the name of code 0x00.
    {"", 0x00},
    // 194..202.
    {"01", 0x01},
    {"02", 0x02},
    {"03", 0x03},
    {"04", 0x04},
    {"05", 0x05},
    {"06", 0x06},
    {"07", 0x07},
    {"08", 0x08},
    {"09", 0x09},
    // 203..206.
    {"shortcut", 0xB1},
    {"Reboot", 0xF9},
    {" ", 0x2C},
    {"00", 0x00},
    // 207..229: spare, code 0x00.
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    // 230..254: spare, code 0xFF.
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    {"", 0xFF},
    // 255..259: no code; no lookup reaches them.
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
    {"", 0x00},
}};

static_assert(kKeyWords[193].name.empty() && kKeyWords[206].name == "00");
static_assert(kKeyWords[229].code == 0x00 && kKeyWords[230].code == 0xFF);
static_assert(kKeyWords[254].code == 0xFF && kKeyWords[255].code == 0x00);

// For each code, the index of the first entry (0..254) that carries it, or kKeyWordsWithCode
// when none does: every key label names its codes, so the name is found in one step, not a scan.
constexpr auto kFirstEntryOfCode = [] {
  std::array<std::size_t, 256> first{};
  first.fill(kKeyWordsWithCode);
  for (std::size_t i = kKeyWordsWithCode; i-- > 0;) first[kKeyWords[i].code] = i;
  return first;
}();

// The entries the word lookup matches (0..249), ordered by name and, among equal names, by
// index, so a binary search finds the first entry of a name as a scan in index order would.
constexpr auto kMatchedByName = [] {
  std::array<std::size_t, kKeyWordsMatched> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
    return kKeyWords[a].name != kKeyWords[b].name ? kKeyWords[a].name < kKeyWords[b].name : a < b;
  });
  return order;
}();

}  // namespace

const KeyWord& KeyWordAt(std::size_t index) {
  // Out-of-range callers get one of the code-less trailing entries rather than a stray read.
  return index < kKeyWords.size() ? kKeyWords[index] : kKeyWords.back();
}

std::string_view CodeToName(std::uint8_t code, std::string_view none) {
  const std::size_t index = kFirstEntryOfCode[code];
  return index < kKeyWordsWithCode ? kKeyWords[index].name : none;
}

WordLookupResult LookupWord(std::string_view word) {
  const auto found = std::lower_bound(
      kMatchedByName.begin(), kMatchedByName.end(), word,
      [](std::size_t index, std::string_view name) { return kKeyWords[index].name < name; });
  if (found != kMatchedByName.end() && kKeyWords[*found].name == word) {
    return {kKeyWords[*found].code, true};
  }
  return {DecimalLowByte(word), false};
}

}  // namespace qp40
