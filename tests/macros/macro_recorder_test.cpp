#include "macros/macro_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qp40 {
namespace {

constexpr std::uint32_t kKeyA = 0x41;

// Sends the click on RECORD/STOP and stops.
std::string ClickStop(MacroRecorder& recorder, std::uint32_t time) {
  recorder.Filter(kMsgLeftDown, 1, time);
  recorder.Filter(kMsgLeftUp, 0, time + 90);
  return recorder.Toggle(time + 100).text;
}

TEST(MacroRecorderTest, KeyPressAndReleaseBecomeTwoLines) {
  MacroRecorder recorder(500);
  EXPECT_EQ(recorder.ButtonCaption(), "RECORD/PLAY");
  EXPECT_EQ(recorder.Toggle(1000).text, "delay   ");
  EXPECT_EQ(recorder.ButtonCaption(), "RECORD/STOP");

  const FilterResult down = recorder.Filter(kMsgKeyDown, kKeyA, 1100);
  EXPECT_EQ(down.disposition, MessageDisposition::kConsume);
  EXPECT_EQ(down.trace, "WM_0x0100  K=65  T=1100\r\n");
  EXPECT_EQ(down.preview, " 100  \r\n   press      a   ");
  const FilterResult up = recorder.Filter(kMsgKeyUp, kKeyA, 1250);
  EXPECT_EQ(up.preview, "150  \r\n release                      ");

  const FilterResult click = recorder.Filter(kMsgLeftDown, 1, 1400);
  EXPECT_EQ(click.disposition, MessageDisposition::kPassOn);
  EXPECT_EQ(click.preview, " 150  \r\n mouse      M_Left   ");
  EXPECT_EQ(recorder.Filter(kMsgLeftUp, 0, 1450).preview, " 50  \r\n mouse                 ");

  // The wait after the press is cut to a multiple of 4 ms; the click on STOP is dropped.
  EXPECT_EQ(recorder.Toggle(1500).text,
            "press         a    148  \r\nrelease         a    32  \r\n");
  EXPECT_EQ(recorder.ButtonCaption(), "RECORD/PLAY");
  EXPECT_EQ(recorder.Events().size(), 2u);
}

TEST(MacroRecorderTest, MouseButtonsAndUnnamedKeys) {
  MacroRecorder recorder(0);
  recorder.Toggle(0);
  recorder.Filter(kMsgLeftDown, 1, 10);
  recorder.Filter(kMsgLeftUp, 0, 20);
  recorder.Filter(kMsgLeftDoubleClick, 1, 30);
  recorder.Filter(kMsgLeftUp, 0, 40);
  EXPECT_EQ(recorder.Filter(kMsgRightDown, 2, 50).disposition, MessageDisposition::kConsume);
  recorder.Filter(kMsgRightUp, 0, 60);
  recorder.Filter(kMsgMiddleDown, 16, 70);
  EXPECT_EQ(recorder.Filter(kMsgMiddleUp, 0, 80).disposition, MessageDisposition::kPassOn);
  recorder.Filter(kMsgSysKeyDown, 0xFF, 90);
  recorder.Filter(kMsgSysKeyUp, 0x1000, 100);
  // Neither a right double click nor any other message is recorded.
  for (std::uint32_t other : {kMsgRightDoubleClick, 0x0200u, 0x0102u}) {
    const FilterResult ignored = recorder.Filter(other, 0, 105);
    EXPECT_EQ(ignored.disposition, MessageDisposition::kPassOn);
    EXPECT_TRUE(ignored.trace.empty() && ignored.preview.empty());
  }
  EXPECT_EQ(ClickStop(recorder, 110),
            "press         M_Left    8  \r\n"
            "release      M_Left    8  \r\n"
            "press         M_Left    8  \r\n"
            "release      M_Left    8  \r\n"
            "press         M_Right    8  \r\n"
            "release      M_Right    8  \r\n"
            "press         M_Middle    8  \r\n"
            "release      M_Middle    8  \r\n"
            "press         NULL    8  \r\n"
            "release         NULL    32  \r\n");
}

TEST(MacroRecorderTest, StartAndStopAloneGiveNothing) {
  MacroRecorder recorder(0);
  recorder.Toggle(0);
  EXPECT_EQ(ClickStop(recorder, 10), "");
  EXPECT_TRUE(recorder.Events().empty());

  // A list shorter than the stop click is dropped whole.
  recorder.Toggle(200);
  recorder.Filter(kMsgLeftDown, 1, 210);
  EXPECT_EQ(recorder.Toggle(220).text, "");
  EXPECT_TRUE(recorder.Events().empty());
}

TEST(MacroRecorderTest, SecondRecordingContinuesTheFirstUntilCleared) {
  MacroRecorder recorder(0);
  recorder.Toggle(0);
  recorder.Filter(kMsgKeyDown, kKeyA, 100);
  ClickStop(recorder, 200);

  recorder.Toggle(5000);
  recorder.Filter(kMsgKeyUp, kKeyA, 5100);
  // The last line of the first recording waits for the whole pause in between.
  EXPECT_EQ(ClickStop(recorder, 5200),
            "press         a    5000  \r\nrelease         a    32  \r\n");

  recorder.Clear(6000);
  recorder.Toggle(6000);
  recorder.Filter(kMsgKeyDown, 0x42, 6010);
  EXPECT_EQ(ClickStop(recorder, 6100), "press         b    32  \r\n");
}

TEST(MacroRecorderTest, AFullListTakesNoMoreAndStopDropsItsLastTwoEvents) {
  MacroRecorder recorder(0);
  recorder.Toggle(0);
  for (std::uint32_t i = 0; i < kMaxRecordedEvents; ++i) {
    recorder.Filter(i % 2 == 0 ? kMsgKeyDown : kMsgKeyUp, kKeyA, 10 * i);
  }
  const FilterResult refused = recorder.Filter(kMsgKeyDown, kKeyA, 9999);
  EXPECT_EQ(refused.disposition, MessageDisposition::kPassOn);
  EXPECT_TRUE(refused.trace.empty() && refused.preview.empty());

  const std::string script = ClickStop(recorder, 10000);
  EXPECT_EQ(recorder.Events().size(), kMaxRecordedEvents - 2);
  // Events 254 and 255, a press and a release of A, went instead of the click.
  EXPECT_TRUE(script.ends_with("press         a    8  \r\nrelease         a    32  \r\n"));
  std::size_t lines = 0;
  for (std::size_t at = script.find('\n'); at != std::string::npos;
       at = script.find('\n', at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, kMaxRecordedEvents - 2);
}

TEST(MacroRecorderTest, StopSaysWhenTheFullListCutTheRecording) {
  struct Case {
    std::size_t offered;  // events sent, the stop click's two included
    bool cut;
    std::size_t lines;
  };
  const Case cases[] = {
      {kMaxRecordedEvents - 1, false, kMaxRecordedEvents - 3},
      // The stop click fills the list exactly and is dropped as usual.
      {kMaxRecordedEvents, false, kMaxRecordedEvents - 2},
      // The click's release is lost: its press and an ordinary event are dropped instead.
      {kMaxRecordedEvents + 1, true, kMaxRecordedEvents - 2},
      {kMaxRecordedEvents + 2, true, kMaxRecordedEvents - 2},
  };
  for (const Case& c : cases) {
    MacroRecorder recorder(0);
    recorder.Toggle(0);
    for (std::uint32_t i = 0; i + 2 < c.offered; ++i) {
      recorder.Filter(i % 2 == 0 ? kMsgKeyDown : kMsgKeyUp, kKeyA, 10 * i);
    }
    recorder.Filter(kMsgLeftDown, 1, 10000);
    recorder.Filter(kMsgLeftUp, 0, 10090);
    // Messages the recorder never captures are not lost input, even on a full list.
    recorder.Filter(0x0200, 0, 10095);
    const ToggleResult stopped = recorder.Toggle(10100);
    EXPECT_EQ(stopped.cut, c.cut) << c.offered;
    EXPECT_EQ(static_cast<std::size_t>(std::count(stopped.text.begin(), stopped.text.end(), '\n')),
              c.lines)
        << c.offered;

    // The next recording starts without the loss; Clear forgets it as well.
    recorder.Toggle(20000);
    const ToggleResult next = recorder.Toggle(20100);
    EXPECT_FALSE(next.cut) << c.offered;
  }

  MacroRecorder recorder(0);
  recorder.Toggle(0);
  for (std::uint32_t i = 0; i <= kMaxRecordedEvents; ++i) {
    recorder.Filter(kMsgKeyDown, kKeyA, i);
  }
  recorder.Clear(500);
  EXPECT_FALSE(recorder.Toggle(600).cut);
}

TEST(MacroRecorderTest, NothingIsRecordedWhileStopped) {
  MacroRecorder recorder(0);
  const FilterResult result = recorder.Filter(kMsgKeyDown, kKeyA, 10);
  EXPECT_EQ(result.disposition, MessageDisposition::kPassOn);
  EXPECT_TRUE(result.trace.empty());
  EXPECT_TRUE(recorder.Events().empty());
}

}  // namespace
}  // namespace qp40
