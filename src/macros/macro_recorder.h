#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qp40 {

// Window messages the recorder captures; the window system's codes.
inline constexpr std::uint32_t kMsgKeyDown = 0x0100;
inline constexpr std::uint32_t kMsgKeyUp = 0x0101;
inline constexpr std::uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr std::uint32_t kMsgSysKeyUp = 0x0105;
inline constexpr std::uint32_t kMsgLeftDown = 0x0201;
inline constexpr std::uint32_t kMsgLeftUp = 0x0202;
inline constexpr std::uint32_t kMsgLeftDoubleClick = 0x0203;
inline constexpr std::uint32_t kMsgRightDown = 0x0204;
inline constexpr std::uint32_t kMsgRightUp = 0x0205;
inline constexpr std::uint32_t kMsgRightDoubleClick = 0x0206;  // seen, never captured
inline constexpr std::uint32_t kMsgMiddleDown = 0x0207;
inline constexpr std::uint32_t kMsgMiddleUp = 0x0208;

inline constexpr std::size_t kMaxRecordedEvents = 256;

inline constexpr std::string_view kRecordCaption = "RECORD/PLAY";
inline constexpr std::string_view kStopCaption = "RECORD/STOP";
// Told when a recording stops after input was lost to the full event list.
inline constexpr std::string_view kRecordingCutMessage = "The recording was cut at 256 events.";

// One captured message: its code, its first parameter (virtual-key code or mouse-button flags)
// and its time stamp in milliseconds.
struct RecordedEvent {
  std::uint32_t message = 0;
  std::uint32_t parameter = 0;
  std::uint32_t time = 0;
};

enum class MessageDisposition { kPassOn, kConsume };

// What the RECORD/PLAY button gives the command pane.
struct ToggleResult {
  std::string text;
  // The event list filled up during this recording and later input was lost, so the stop
  // click is not wholly in the list and ordinary input was dropped in its place: the user is
  // told kRecordingCutMessage.
  bool cut = false;
};

// What one message did while recording: the trace line for the message pane and the preview
// for the command pane (both empty when the message was not recorded).
struct FilterResult {
  MessageDisposition disposition = MessageDisposition::kPassOn;
  std::string trace;
  std::string preview;
};

// The macro editor's recorder: captures key and mouse-button messages with their times and,
// when stopped, turns them into press and release lines with the waits between them.
class MacroRecorder {
 public:
  // `now`: the current tick count in milliseconds.
  explicit MacroRecorder(std::uint32_t now) : last_event_time_(now) {}

  bool Recording() const { return recording_; }
  std::string_view ButtonCaption() const { return recording_ ? kStopCaption : kRecordCaption; }

  // The RECORD/PLAY button. Starting returns the command text that the first event's delay
  // completes ("delay   "); stopping drops the click on the button (the last two events) and
  // returns the script of the events kept and whether the recording was cut. A new recording
  // continues the list of the previous one until Clear.
  ToggleResult Toggle(std::uint32_t now);

  // Called with every message that reaches the editor before the editor handles it.
  FilterResult Filter(std::uint32_t message, std::uint32_t parameter, std::uint32_t time);

  // Clear/Redo: forgets every event; recording goes on if it was on.
  void Clear(std::uint32_t now);

  std::span<const RecordedEvent> Events() const { return std::span(events_).first(event_count_); }

 private:
  std::string Convert();

  std::array<RecordedEvent, kMaxRecordedEvents> events_{};
  std::size_t event_count_ = 0;
  bool recording_ = false;
  bool input_lost_ = false;  // since this recording started or the list was cleared
  std::uint32_t last_event_time_;
};

}  // namespace qp40
