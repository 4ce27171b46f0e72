#include "session/session_layout.h"

#include <algorithm>
#include <string>

#include "log/text_format.h"

namespace qp40 {
namespace {

// The keypad's identity as hex bytes, as `qp40ctl info` shows it.
std::string IdentityHex(const DeviceId& identity) {
  std::string text;
  for (const std::uint8_t byte : identity) {
    if (!text.empty()) text += ' ';
    text += FormatText("%02x", byte);
  }
  return text;
}

}  // namespace

Layout SessionLayout(KeypadSession& session, const std::map<int, MacroBuffer>& macros,
                     const std::optional<ChordTable>& chords) {
  Configuration merged = session.Config();
  MergeWorkingCopy(merged, ProfileSwitchCopy::kAllProfiles);
  // Merging leaves the text tables as they are: the session's lookup reads the same texts.
  const KeyTextLookup texts = [&session](const KeyActionRecord& record) {
    return session.KeyText(record);
  };
  return MakeLayout(merged, texts, macros, chords,
                    session.Connected() ? IdentityHex(session.Link().GetDeviceId()) : "");
}

std::optional<ChordTable> ChordsIfAny(const ChordTable& table) {
  const bool any = std::any_of(table.begin(), table.end(), [](const ChordRecord& chord) {
    return std::any_of(chord.begin(), chord.end(), [](std::uint8_t byte) { return byte != 0; });
  });
  return any ? std::optional<ChordTable>(table) : std::nullopt;
}

}  // namespace qp40
