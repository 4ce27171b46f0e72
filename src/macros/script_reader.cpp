#include "macros/script_reader.h"

namespace qp40 {

namespace {

constexpr char kNul = '\0';
constexpr char kSpace = ' ';
constexpr char kCarriageReturn = '\r';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kFirstHighByte = 0x80;

void EndWord(ScriptLine& line, std::string& word, bool& cut) {
  if (cut && line.long_word.empty()) {
    line.long_word = word;
  }
  cut = false;
  if (word.empty()) {
    return;
  }
  if (line.words.size() < kMaxLineWords) {
    line.words.push_back(std::move(word));
  } else {
    line.too_many_words = true;
  }
  word.clear();
}

}  // namespace

ScriptLine ReadScriptLine(std::string_view text, std::size_t& cursor) {
  ScriptLine line;
  std::string word;
  bool cut = false;  // the word being read has lost characters
  while (cursor < text.size()) {
    const char c = text[cursor];
    if (c == kNul) {
      // The cursor stays on the NUL: the text ends there for every later read too.
      EndWord(line, word, cut);
      line.end = LineEnd::kTextEnded;
      return line;
    }
    ++cursor;
    if (c == kCarriageReturn) {
      EndWord(line, word, cut);
      line.end = LineEnd::kCarriageReturn;
      return line;
    }
    if (c == kSpace) {
      EndWord(line, word, cut);
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < kFirstPrintable || byte >= kFirstHighByte) {
      continue;
    }
    if (word.size() < kMaxWordLength) {
      word += c;
    } else {
      line.word_too_long = true;
      cut = true;
    }
  }
  EndWord(line, word, cut);
  line.end = LineEnd::kTextEnded;
  return line;
}

}  // namespace qp40
