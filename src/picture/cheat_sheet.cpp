#include "picture/cheat_sheet.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "chords/chord_text.h"
#include "keys/key_colors.h"
#include "keys/key_label.h"
#include "keys/name_tables.h"
#include "macros/macro_record.h"
#include "memory_map/memory_map.h"
#include "picture/sheet_keys.h"
#include "picture/svg_canvas.h"
#include "picture/svg_text.h"

namespace qp40 {
namespace {

// The board tables' layout units become pixels at 3/2: a key of 78 by 40 units is 117 by 60.
constexpr int kScaleNumerator = 3;
constexpr int kScaleDenominator = 2;
constexpr int Px(int units) { return units * kScaleNumerator / kScaleDenominator; }

constexpr int kColumnPitch = 80;  // layout units from one column to the next
constexpr int kRowPitch = 50;
constexpr int kMargin = 24;
constexpr int kGridWidth = Px(kGridColumnCount * kColumnPitch);
constexpr int kGridHeight = Px(kGridRowCount * kRowPitch);
constexpr int kSheetWidth = 2 * kMargin + kGridWidth;
constexpr int kSectionGap = 24;

constexpr int kHeadingSize = 18;
constexpr int kHeadingHeight = 30;
constexpr int kSubheadingSize = 14;
constexpr int kLabelSize = 13;
constexpr int kModifierSize = 10;
constexpr int kLineSize = 12;
constexpr int kLineHeight = 16;
constexpr int kIndent = 16;

// A monospace character is about 0.6 of the font size wide; in tenths of a pixel at kLabelSize.
constexpr int kLabelCharTenths = kLabelSize * 6;
constexpr int kKeyPadding = 6;
// Characters of an appendix line that fit the sheet's width at kLineSize.
constexpr std::size_t kAppendixColumns = 128;

constexpr int kLegendColumns = 4;
constexpr int kLegendColumnWidth = kGridWidth / kLegendColumns;
constexpr int kSwatchWidth = 28;
constexpr int kSwatchHeight = 18;
constexpr int kLegendRowHeight = 26;

constexpr std::uint32_t kInkColor = 0x000000;
constexpr std::uint32_t kKeyEdgeColor = 0x404040;
constexpr std::uint32_t kNoteColor = 0x606060;

constexpr std::string_view kMiddleDot = "\xC2\xB7";
constexpr std::string_view kTitle = "QP40 cheat sheet";

std::size_t FittingCharacters(int width_px) {
  const int room = std::max(0, width_px - 2 * kKeyPadding);
  return static_cast<std::size_t>(room * 10 / kLabelCharTenths);
}

// The type's name without the digit the key dialog's list puts before it.
std::string_view LegendName(int type) {
  const std::string_view name = TypeName(static_cast<std::size_t>(type));
  const std::size_t space = name.find(' ');
  return space == std::string_view::npos ? name : name.substr(space + 1);
}

// The lines of a listing, without their line ends.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsEmptyChord(const ChordRecord& record) {
  return std::all_of(record.begin(), record.end(), [](std::uint8_t byte) { return byte == 0; });
}

std::string PlaceText(std::uint8_t profile, const DrawnKey& key) {
  return "Profile " + std::to_string(profile + 1) + ", row " + std::to_string(key.row) +
         ", column " + std::to_string(key.column);
}

class SheetWriter {
 public:
  SheetWriter(const Configuration& config, const CheatSheetExtras& extras,
              const CheatSheetOptions& options)
      : config_(config), extras_(extras), options_(options) {}

  std::string Write() {
    for (const std::uint8_t profile : ChosenProfiles(options_)) Profile(profile);
    Legend();
    if (options_.appendix == Appendix::kShown) AppendixParts();
    // The 43-key board reaches further right than the grid of 8 columns.
    const int width = std::max(kSheetWidth, right_ + kMargin);
    return canvas_.Document(width, y_ + kMargin - kSectionGap, XmlEscapeUtf8(kTitle));
  }

 private:
  void Heading(int size, std::string_view escaped_text) {
    canvas_.Text(kMargin, y_ + size,
                 {size, kInkColor, SvgCanvas::Anchor::kStart, SvgCanvas::Weight::kBold},
                 escaped_text);
  }

  void Line(int indent, std::uint32_t color, std::string_view escaped_text) {
    y_ += kLineHeight;
    canvas_.Text(kMargin + indent, y_, {kLineSize, color}, escaped_text);
  }

  // A keypad text in lines of at most kAppendixColumns characters.
  void WrappedLines(int indent, std::string_view bytes) {
    do {
      Line(indent, kInkColor, XmlEscapeKeypadBytes(bytes.substr(0, kAppendixColumns)));
      bytes.remove_prefix(std::min(bytes.size(), kAppendixColumns));
    } while (!bytes.empty());
  }

  void Profile(std::uint8_t profile) {
    const std::uint8_t board = ProfileBoardCode(config_, profile);
    const std::string heading = "User Profile " + std::to_string(profile + 1) + " " +
                                std::string(kMiddleDot) + " " +
                                std::to_string(BoardKeyCount(board)) + " keys";
    canvas_.BeginGroup("profile-" + std::to_string(profile + 1));
    Heading(kHeadingSize, XmlEscapeUtf8(heading));
    const int top = y_ + kHeadingHeight;
    for (const DrawnKey& key : DrawnKeys(config_, profile)) Key(profile, key, top);
    canvas_.EndGroup();
    y_ = top + kGridHeight + kSectionGap;
  }

  void Key(std::uint8_t profile, const DrawnKey& key, int top) {
    const int x = kMargin + Px(key.place.x);
    const int y = top + Px(key.place.y);
    const int width = Px(key.place.width);
    const int height = Px(key.place.height);
    const KeyFace face =
        FaceOfKey(key.record, config_, extras_.string_texts, FittingCharacters(width));
    types_shown_.insert(face.label_class);
    right_ = std::max(right_, x + width);

    canvas_.BeginGroup("p" + std::to_string(profile + 1) + "-r" + std::to_string(key.row) + "c" +
                       std::to_string(key.column));
    canvas_.Rect(x, y, width, height, KeyColor(face.color_index), kKeyEdgeColor);
    const std::uint32_t ink = KeyColor(kKeyTextColorIndex);
    const int middle_x = x + width / 2;
    const int middle_y = y + height / 2;
    if (face.modifiers.empty()) {
      canvas_.Text(middle_x, middle_y + kLabelSize / 3,
                   {kLabelSize, ink, SvgCanvas::Anchor::kMiddle}, face.text);
    } else {
      canvas_.Text(middle_x, middle_y - 2, {kLabelSize, ink, SvgCanvas::Anchor::kMiddle},
                   face.text);
      canvas_.Text(middle_x, middle_y + kModifierSize + 4,
                   {kModifierSize, ink, SvgCanvas::Anchor::kMiddle}, face.modifiers);
    }
    canvas_.EndGroup();
  }

  void Legend() {
    canvas_.BeginGroup("legend");
    Heading(kSubheadingSize, "Key types");
    y_ += kHeadingHeight - kLegendRowHeight;
    int column = 0;
    for (const int type : types_shown_) {
      if (column == 0) y_ += kLegendRowHeight;
      const int x = kMargin + column * kLegendColumnWidth;
      canvas_.Rect(x, y_, kSwatchWidth, kSwatchHeight, KeyColor(KeyBackgroundColorIndex(type)),
                   kKeyEdgeColor);
      canvas_.Text(x + kSwatchWidth + 8, y_ + kSwatchHeight - 4, {kLineSize, kInkColor},
                   XmlEscapeUtf8(LegendName(type)));
      column = (column + 1) % kLegendColumns;
    }
    canvas_.EndGroup();
    y_ += kLegendRowHeight + kSectionGap;
  }

  void AppendixParts() {
    canvas_.BeginGroup("appendix");
    Heading(kHeadingSize, "Appendix");
    y_ += kHeadingHeight;
    Macros();
    Texts();
    Chords();
    canvas_.EndGroup();
  }

  void Section(std::string_view escaped_title) {
    Heading(kSubheadingSize, escaped_title);
    y_ += kSubheadingSize;
  }

  void EndSection() { y_ += kSectionGap; }

  void Macros() {
    const std::vector<int> macros = MacrosInUse(config_, options_);
    if (macros.empty()) return;
    Section("Macros");
    for (const int number : macros) {
      Line(0, kInkColor, "Macro " + std::to_string(number));
      const auto read = extras_.macro_scripts.find(number);
      if (number >= kMacroCount) {
        Line(kIndent, kNoteColor, "(there is no such macro)");
      } else if (read == extras_.macro_scripts.end()) {
        Line(kIndent, kNoteColor, "(not read from the keypad)");
      } else if (const std::optional<std::string>& listing = read->second) {
        for (const std::string_view line : Lines(*listing)) WrappedLines(kIndent, line);
      } else {
        Line(kIndent, kNoteColor, "(not stored on the keypad)");
      }
    }
    EndSection();
  }

  void Texts() {
    bool any = false;
    for (const std::uint8_t profile : ChosenProfiles(options_)) {
      for (const DrawnKey& key : DrawnKeys(config_, profile)) {
        const int type = KeyLabelClass(key.record[0]);
        if (type != kTypeBurst && type != kTypeString) continue;
        if (!any) Section("Burst and string texts");
        any = true;
        std::string place = PlaceText(profile, key) + (type == kTypeBurst ? ": burst" : ": string");
        if (const std::string modifiers = KeyModifierText(key.record); !modifiers.empty()) {
          place += " with " + modifiers;
        }
        Line(0, kInkColor, XmlEscapeUtf8(place));
        if (const auto text = KeyTypedText(key.record, config_, extras_.string_texts)) {
          WrappedLines(kIndent, *text);
        } else {
          Line(kIndent, kNoteColor, "(the text cannot be read)");
        }
      }
    }
    if (any) EndSection();
  }

  void Chords() {
    if (!extras_.chords) return;
    const ChordTable& table = *extras_.chords;
    const std::string text = ChordListText(table);
    const std::vector<std::string_view> lines = Lines(text);
    bool any = false;
    for (std::size_t i = 0; i < table.size() && i < lines.size(); ++i) {
      if (IsEmptyChord(table[i])) continue;
      if (!any) Section("Chords");
      any = true;
      Line(0, kInkColor, XmlEscapeUtf8(lines[i]));
    }
    if (any) EndSection();
  }

  const Configuration& config_;
  const CheatSheetExtras& extras_;
  const CheatSheetOptions& options_;
  SvgCanvas canvas_;
  int y_ = kMargin;
  int right_ = 0;  // right edge of the rightmost key
  std::set<int> types_shown_;
};

}  // namespace

std::vector<std::uint8_t> ChosenProfiles(const CheatSheetOptions& options) {
  if (options.profile) return {*options.profile};
  std::vector<std::uint8_t> all;
  for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
    all.push_back(static_cast<std::uint8_t>(profile));
  }
  return all;
}

std::vector<int> MacrosInUse(const Configuration& config, const CheatSheetOptions& options) {
  std::set<int> numbers;
  for (const std::uint8_t profile : ChosenProfiles(options)) {
    for (const DrawnKey& key : DrawnKeys(config, profile)) {
      if (KeyLabelClass(key.record[0]) == kTypeMacro) numbers.insert(key.record[1]);
    }
  }
  return {numbers.begin(), numbers.end()};
}

std::vector<std::uint8_t> StringsInUse(const Configuration& config,
                                       const CheatSheetOptions& options) {
  std::set<std::uint8_t> numbers;
  for (const std::uint8_t profile : ChosenProfiles(options)) {
    for (const DrawnKey& key : DrawnKeys(config, profile)) {
      if (KeyLabelClass(key.record[0]) == kTypeString) numbers.insert(key.record[3]);
    }
  }
  return {numbers.begin(), numbers.end()};
}

std::string RenderCheatSheet(const Configuration& config, const CheatSheetExtras& extras,
                             const CheatSheetOptions& options) {
  return SheetWriter(config, extras, options).Write();
}

}  // namespace qp40
