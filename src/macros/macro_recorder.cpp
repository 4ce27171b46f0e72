#include "macros/macro_recorder.h"

#include <algorithm>
#include <optional>

#include "keys/name_tables.h"
#include "log/text_format.h"

namespace qp40 {

namespace {

constexpr std::string_view kStartText = "delay   ";
constexpr std::string_view kLeftButton = "M_Left";
constexpr std::string_view kRightButton = "M_Right";
constexpr std::string_view kMiddleButton = "M_Middle";
// The wait written after the last recorded event.
constexpr std::uint32_t kLastEventWait = 32;
// Waits are written in whole steps of 4 ms.
constexpr std::uint32_t kWaitStepMask = ~std::uint32_t{3};
// The click on RECORD/STOP: button down and button up.
constexpr std::size_t kStopClickEvents = 2;

enum class Kind { kKeyDown, kKeyUp, kButtonDown, kButtonUp };

struct CapturedMessage {
  Kind kind;
  std::string_view button;  // mouse messages only
  MessageDisposition disposition;
};

std::optional<CapturedMessage> Classify(std::uint32_t message) {
  using enum MessageDisposition;
  switch (message) {
    case kMsgKeyDown:
    case kMsgSysKeyDown:
      return CapturedMessage{Kind::kKeyDown, {}, kConsume};
    case kMsgKeyUp:
    case kMsgSysKeyUp:
      return CapturedMessage{Kind::kKeyUp, {}, kConsume};
    // Left clicks go on to the window, so the user can still click RECORD/STOP.
    case kMsgLeftDown:
    case kMsgLeftDoubleClick:
      return CapturedMessage{Kind::kButtonDown, kLeftButton, kPassOn};
    case kMsgLeftUp:
      return CapturedMessage{Kind::kButtonUp, kLeftButton, kPassOn};
    case kMsgRightDown:
      return CapturedMessage{Kind::kButtonDown, kRightButton, kConsume};
    case kMsgRightUp:
      return CapturedMessage{Kind::kButtonUp, kRightButton, kConsume};
    case kMsgMiddleDown:
      return CapturedMessage{Kind::kButtonDown, kMiddleButton, kConsume};
    case kMsgMiddleUp:
      return CapturedMessage{Kind::kButtonUp, kMiddleButton, kPassOn};
    default:
      return std::nullopt;
  }
}

constexpr std::string_view kNoKeyName = "NULL";

std::string_view KeyName(std::uint32_t virtual_key) {
  return virtual_key < kVirtualKeyNameCount ? VirtualKeyName(virtual_key) : kNoKeyName;
}

// Fills the one "%.*s" of `format` with `name` and its "%d" with `wait`, in the order given.
std::string NameThenWait(const char* format, std::string_view name, int wait) {
  return FormatText(format, static_cast<int>(name.size()), name.data(), wait);
}

std::string WaitThenName(const char* format, int wait, std::string_view name) {
  return FormatText(format, wait, static_cast<int>(name.size()), name.data());
}

std::string Preview(const CapturedMessage& captured, std::uint32_t parameter, int wait) {
  switch (captured.kind) {
    case Kind::kKeyDown:
      return WaitThenName(" %d  \r\n   press      %.*s   ", wait, KeyName(parameter));
    case Kind::kKeyUp:
      return FormatText("%d  \r\n release                      ", wait);
    case Kind::kButtonDown:
      return WaitThenName(" %d  \r\n mouse      %.*s   ", wait, captured.button);
    case Kind::kButtonUp:
      return FormatText(" %d  \r\n mouse                 ", wait);
  }
  return {};
}

std::string ScriptLine(const CapturedMessage& captured, std::uint32_t parameter, int wait) {
  switch (captured.kind) {
    case Kind::kKeyDown:
      return NameThenWait("press         %.*s    %d  \r\n", KeyName(parameter), wait);
    case Kind::kKeyUp:
      return NameThenWait("release         %.*s    %d  \r\n", KeyName(parameter), wait);
    case Kind::kButtonDown:
      return NameThenWait("press         %.*s    %d  \r\n", captured.button, wait);
    case Kind::kButtonUp:
      return NameThenWait("release      %.*s    %d  \r\n", captured.button, wait);
  }
  return {};
}

}  // namespace

ToggleResult MacroRecorder::Toggle(std::uint32_t now) {
  if (!recording_) {
    recording_ = true;
    input_lost_ = false;
    last_event_time_ = now;
    return {std::string(kStartText), false};
  }
  recording_ = false;
  return {Convert(), input_lost_};
}

FilterResult MacroRecorder::Filter(std::uint32_t message, std::uint32_t parameter,
                                   std::uint32_t time) {
  FilterResult result;
  if (!recording_) {
    return result;
  }
  const std::optional<CapturedMessage> captured = Classify(message);
  if (!captured) {
    return result;
  }
  if (event_count_ == kMaxRecordedEvents) {
    // A full list passes input on untouched, but the stop then reports the loss.
    input_lost_ = true;
    return result;
  }
  events_[event_count_++] = {message, parameter, time};
  result.trace = FormatText("WM_0x%4.4x  K=%u  T=%u\r\n", static_cast<unsigned>(message),
                            static_cast<unsigned>(parameter), static_cast<unsigned>(time));
  result.preview = Preview(*captured, parameter, static_cast<int>(time - last_event_time_));
  result.disposition = captured->disposition;
  last_event_time_ = time;
  return result;
}

void MacroRecorder::Clear(std::uint32_t now) {
  event_count_ = 0;
  input_lost_ = false;
  last_event_time_ = now;
}

std::string MacroRecorder::Convert() {
  // The last two events are the click that stopped the recording.
  const std::size_t dropped = std::min(event_count_, kStopClickEvents);
  event_count_ -= dropped;
  for (std::size_t i = event_count_; i < event_count_ + dropped; ++i) {
    events_[i].message = 0;
  }
  if (event_count_ == 0) {
    return {};
  }
  // The slot after the last kept event always exists: at least one event was dropped after it.
  events_[event_count_].time = events_[event_count_ - 1].time + kLastEventWait;

  std::string script;
  for (std::size_t i = 0; i < event_count_; ++i) {
    const RecordedEvent& event = events_[i];
    const std::uint32_t wait = (events_[i + 1].time - event.time) & kWaitStepMask;
    if (const std::optional<CapturedMessage> captured = Classify(event.message)) {
      script += ScriptLine(*captured, event.parameter, static_cast<int>(wait));
    }
  }
  return script;
}

}  // namespace qp40
