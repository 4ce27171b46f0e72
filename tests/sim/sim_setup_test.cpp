#include "sim/sim_setup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/factory_image.h"

namespace qp40::sim {
namespace {

struct FaultListRow {
  std::string_view list;
  std::vector<Fault> faults;  // parsed before the first bad item
  std::string error;
};

const std::string kKinds =
    " is not [K:]KIND@N (K: the virtual keypad, from 1; KIND: drop, status, echo, late, gone or "
    "flip; N from 1)";

const FaultListRow kFaultListRows[] = {
    {"drop@1", {{FaultKind::kDrop, 1}}, ""},
    {"status@9,echo@2,late@3,gone@4,flip@7",
     {{FaultKind::kStatus, 9},
      {FaultKind::kEcho, 2},
      {FaultKind::kLate, 3},
      {FaultKind::kGone, 4},
      {FaultKind::kFlip, 7}},
     ""},
    {"drop@0018446744073709551615",
     {{FaultKind::kDrop, std::numeric_limits<std::uint64_t>::max()}},
     ""},
    {"drop@18446744073709551616", {}, "'drop@18446744073709551616'" + kKinds},
    {"drop@1,boom@3,late@2", {{FaultKind::kDrop, 1}}, "'boom@3'" + kKinds},
    {"", {}, "''" + kKinds},
    {"drop@1,", {{FaultKind::kDrop, 1}}, "''" + kKinds},
    {",drop@1", {}, "''" + kKinds},
    {"drop@0", {}, "'drop@0'" + kKinds},
    {"drop", {}, "'drop'" + kKinds},
    {"drop@", {}, "'drop@'" + kKinds},
    {"@1", {}, "'@1'" + kKinds},
    {"Drop@1", {}, "'Drop@1'" + kKinds},
    {"drop@+1", {}, "'drop@+1'" + kKinds},
    {"drop@-1", {}, "'drop@-1'" + kKinds},
    {"drop@1x", {}, "'drop@1x'" + kKinds},
    {"drop@ 1", {}, "'drop@ 1'" + kKinds},
    {"drop@1@2", {}, "'drop@1@2'" + kKinds},
    {"1:drop@1", {{FaultKind::kDrop, 1}}, ""},
    {"0:drop@1", {}, "'0:drop@1'" + kKinds},
    {":drop@1", {}, "':drop@1'" + kKinds},
    {"x:drop@1", {}, "'x:drop@1'" + kKinds},
    {"2:drop@1:3", {}, "'2:drop@1:3'" + kKinds},
};

TEST(SimFaultTest, FaultListsAreReadUpToTheFirstBadItem) {
  for (const FaultListRow& row : kFaultListRows) {
    SCOPED_TRACE(row.list);
    std::vector<KeypadFault> parsed;
    EXPECT_EQ(ParseFaultList(row.list, parsed), row.error);
    std::vector<Fault> faults;
    for (const KeypadFault& fault : parsed) {
      EXPECT_EQ(fault.keypad, 1u);
      faults.push_back(fault.fault);
    }
    EXPECT_EQ(faults, row.faults);
    if (row.faults.size() == 1 && row.error.empty()) {
      EXPECT_EQ(ParseFault(row.list), (KeypadFault{1, row.faults[0]}));
      EXPECT_EQ(CheckFault(row.list), "");
    }
  }
}

TEST(SimFaultTest, AFaultNamesItsKeypadAndMustFitTheKeypadsSimulated) {
  std::vector<KeypadFault> faults;
  EXPECT_EQ(ParseFaultList("2:late@9,drop@5,12:gone@1", faults), "");
  EXPECT_EQ(faults, (std::vector<KeypadFault>{{2, {FaultKind::kLate, 9}},
                                              {1, {FaultKind::kDrop, 5}},
                                              {12, {FaultKind::kGone, 1}}}));

  SimOptions options{true, {"a.img", "b.img"}, {{2, {FaultKind::kDrop, 1}}}, 0};
  EXPECT_EQ(CheckSimKeypads(options), "");
  options.faults.push_back({3, {FaultKind::kDrop, 1}});
  EXPECT_EQ(CheckSimKeypads(options),
            "a fault for virtual keypad 3, but there are 2 (one for each --simulate)");
  options = {true, {}, {{2, {FaultKind::kDrop, 1}}}, 0};
  EXPECT_EQ(CheckSimKeypads(options),
            "a fault for virtual keypad 2, but there is 1 (one for each --simulate)");
  options = {true, {"a.img", "", "", "a.img"}, {}, 0};
  EXPECT_EQ(CheckSimKeypads(options), "'a.img' is the image of two virtual keypads");
}

TEST(SimFaultTest, LatencyIsDecimalDigitsOnly) {
  const struct {
    std::string_view text;
    std::optional<std::uint32_t> latency;
  } rows[] = {
      {"0", 0},
      {"250", 250},
      {"007", 7},
      {"4294967295", 4294967295u},
      {"0004294967295", 4294967295u},
      {"4294967296", std::nullopt},
      {"18446744073709551616", std::nullopt},
      {"", std::nullopt},
      {"fast", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {"12x", std::nullopt},
      {" 12", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ParseLatency(row.text), row.latency) << "'" << row.text << "'";
    EXPECT_EQ(CheckLatency(row.text).empty(), row.latency.has_value()) << "'" << row.text << "'";
  }
}

TEST(SimFaultTest, RefusedLatencySaysWhy) {
  EXPECT_EQ(CheckLatency("4294967296"),
            "'4294967296' is too large a latency (at most 4294967295 microseconds)");
  EXPECT_EQ(CheckLatency("fast"), "'fast' is not a number of microseconds (decimal digits only)");
  EXPECT_EQ(CheckLatency(""), "'' is not a number of microseconds (decimal digits only)");
}

class SimulatedKeypadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("qp40-sim-setup-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }

  static void WriteFile(const std::string& path, std::size_t size, char value) {
    std::ofstream file(path, std::ios::binary);
    const std::vector<char> bytes(size, value);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static std::vector<char> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path directory_;
};

TEST_F(SimulatedKeypadTest, FaultsAndLatencyReachTheKeypad) {
  SimulatedKeypad simulated({true, {}, {{1, {FaultKind::kDrop, 1}}}, 250}, 1);
  EXPECT_EQ(simulated.LoadImage(), "");

  EXPECT_EQ(simulated.Keypad().LatencyMicroseconds(), 250u);
  EXPECT_EQ(simulated.Keypad().HandleRequest(ConfigReport{}), std::nullopt);
  EXPECT_TRUE(simulated.Keypad().Requests().empty());  // a long run keeps no requests
  EXPECT_EQ(simulated.GetTransport().ListInterfaces().size(), 1u);
  EXPECT_EQ(simulated.SaveImage(), "");
}

TEST_F(SimulatedKeypadTest, AMissingImageStartsFromTheFactoryImageAndIsCreatedAtTheEnd) {
  const std::string image = PathOf("keypad.img");
  SimulatedKeypad simulated({true, {image}, {}, 0}, 1);
  const VirtualKeypad factory;

  EXPECT_EQ(simulated.LoadImage(), "");
  EXPECT_FALSE(std::filesystem::exists(image));
  EXPECT_TRUE(std::equal(factory.BlockData(0x1C).begin(), factory.BlockData(0x1C).end(),
                         simulated.Keypad().BlockData(0x1C).begin()));

  simulated.Keypad().BlockData(0x1C)[5] = 0x5A;
  EXPECT_EQ(simulated.SaveImage(), "");
  const std::vector<char> saved = ReadAll(image);
  ASSERT_EQ(saved.size(), kImageSize);
  EXPECT_EQ(saved[0x1C * kBlockSize + 5], 0x5A);

  SimulatedKeypad next_run({true, {image}, {}, 0}, 1);
  EXPECT_EQ(next_run.LoadImage(), "");
  EXPECT_EQ(next_run.Keypad().BlockData(0x1C)[5], 0x5A);
}

TEST_F(SimulatedKeypadTest, AFileThatIsNoImageIsRefusedAndLeftUnchanged) {
  const std::string image = PathOf("keypad.img");
  WriteFile(image, 12, 'x');
  SimulatedKeypad simulated({true, {image}, {}, 0}, 1);

  EXPECT_EQ(simulated.LoadImage(),
            image +
                ": not a keypad memory image (it must be 262144 bytes: 128 blocks of 2048 bytes); "
                "left unchanged");
  EXPECT_EQ(simulated.SaveImage(), "");
  EXPECT_EQ(ReadAll(image), std::vector<char>(12, 'x'));
}

TEST_F(SimulatedKeypadTest, AnImageThatCannotBeWrittenIsReported) {
  const std::string image = PathOf("no-such-folder/keypad.img");
  SimulatedKeypad simulated({true, {image}, {}, 0}, 1);

  EXPECT_EQ(simulated.LoadImage(), "");
  EXPECT_EQ(simulated.SaveImage(), image + ": could not write the virtual keypad's memory back");
}

TEST_F(SimulatedKeypadTest, SeveralKeypadsShareOneTransportEachWithItsPathIdentityAndFaults) {
  const std::string first = PathOf("left.img");
  const std::string second = PathOf("right.img");
  SimulatedKeypads keypads({true, {first, second, ""}, {{2, {FaultKind::kDrop, 1}}}, 0});
  ASSERT_EQ(keypads.LoadImages(), "");
  ASSERT_EQ(keypads.Count(), 3u);

  const std::vector<HidInterfaceInfo> interfaces = keypads.GetTransport().ListInterfaces();
  ASSERT_EQ(interfaces.size(), 3u);
  EXPECT_EQ(interfaces[0].path, kSimPath);
  EXPECT_EQ(interfaces[1].path, SimPath(2));
  EXPECT_EQ(interfaces[2].path, SimPath(3));
  const DeviceId a = keypads.At(0).Keypad().Identity();
  const DeviceId b = keypads.At(1).Keypad().Identity();
  const DeviceId c = keypads.At(2).Keypad().Identity();
  EXPECT_NE(a, b);
  EXPECT_NE(b, c);
  EXPECT_NE(a, c);
  EXPECT_EQ(b[13], 0);  // the identity's error byte says no error
  // The identity comes from the file name alone: a copy in another folder is a clone.
  EXPECT_EQ(SimIdentity("/elsewhere/right.img", 2), b);
  EXPECT_EQ(SimIdentity("", 1), kFactoryIdentity);

  // An open reaches the keypad of its path, and only that keypad's fault hits it.
  auto writer = keypads.GetTransport().OpenWrite(SimPath(2)).channel;
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->Send(ConfigReport{}), SendStatus::kSent);
  EXPECT_EQ(keypads.At(1).Keypad().RequestCount(), 1u);
  EXPECT_EQ(keypads.At(0).Keypad().RequestCount(), 0u);
  EXPECT_EQ(keypads.GetTransport().OpenRead("sim:none").channel, nullptr);

  keypads.At(0).Keypad().SetGone(true);
  EXPECT_EQ(keypads.GetTransport().ListInterfaces().size(), 2u);

  EXPECT_EQ(keypads.SaveImages(), "");
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_TRUE(std::filesystem::exists(second));
}

}  // namespace
}  // namespace qp40::sim
