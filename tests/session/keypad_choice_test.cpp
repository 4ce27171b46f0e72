#include "session/keypad_choice.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "log/text_format.h"
#include "model/model_test_support.h"
#include "session/keypad_session.h"
#include "sim/sim_bus.h"
#include "sim/sim_setup.h"
#include "sim/sim_transport.h"
#include "sim/virtual_keypad.h"

namespace qp40::testing {
namespace {

// A row of virtual keypads on one bus, each with its own path and identity.
class KeypadRack {
 public:
  explicit KeypadRack(std::size_t count) {
    for (std::size_t number = 1; number <= count; ++number) {
      keypads_.push_back(std::make_unique<sim::VirtualKeypad>(kFirmwareNewStrings));
      keypads_.back()->SetIdentity(sim::SimIdentity("", number));
      transports_.push_back(
          std::make_unique<sim::SimTransport>(*keypads_.back(), sim::SimPath(number)));
      bus_.Add(*transports_.back());
    }
  }

  Transport& Bus() { return bus_; }
  sim::VirtualKeypad& Keypad(std::size_t number) { return *keypads_.at(number - 1); }
  std::uint64_t Requests() const {
    std::uint64_t count = 0;
    for (const auto& keypad : keypads_) count += keypad->RequestCount();
    return count;
  }

 private:
  std::vector<std::unique_ptr<sim::VirtualKeypad>> keypads_;
  std::vector<std::unique_ptr<sim::SimTransport>> transports_;
  sim::SimBus bus_;
};

std::string Hex(std::size_t number) { return IdentityHex(sim::SimIdentity("", number)); }

TEST(KeypadChoiceTest, DiscoveryListsUpToEightAndChoosesOnlyALoneKeypadUnnamed) {
  const struct {
    std::size_t present;
    int listed;
    ChoiceStatus unnamed;
  } rows[] = {
      {0, 0, ChoiceStatus::kNoKeypad},
      {1, 1, ChoiceStatus::kChosen},
      {2, 2, ChoiceStatus::kSeveral},
      {9, 8, ChoiceStatus::kSeveral},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.present);
    KeypadRack rack(row.present);
    Surroundings env;
    const KeypadChoice choice = ChooseKeypad(rack.Bus(), env.log, env.notifier, "");

    EXPECT_EQ(choice.status, row.unnamed);
    EXPECT_EQ(choice.list.found, static_cast<int>(row.present));
    ASSERT_EQ(choice.list.keypads.size(), static_cast<std::size_t>(row.listed));
    for (const ListedKeypad& keypad : choice.list.keypads) {
      EXPECT_EQ(keypad.path, sim::SimPath(static_cast<std::size_t>(keypad.number)));
    }
    if (row.unnamed == ChoiceStatus::kChosen) {
      EXPECT_EQ(choice.path, sim::SimPath(1));
      // A lone keypad is chosen without a word to it, so its request count stays as it was.
      EXPECT_EQ(rack.Requests(), 0u);
    }
    if (row.unnamed == ChoiceStatus::kSeveral) {
      // The refusal lists every keypad with its identity, so the user can name one.
      const std::string text = ChoiceProblemText(choice, "");
      EXPECT_NE(text.find("choose one with --device"), std::string::npos);
      EXPECT_NE(text.find("2  " + Hex(2) + "  firmware 0x"), std::string::npos) << text;
    }
    EXPECT_EQ(KeypadListText(choice.list).find("only the first 8 are listed") != std::string::npos,
              row.present == 9);
  }
}

TEST(KeypadChoiceTest, DeviceNamesAKeypadByNumberIdentityOrPath) {
  const struct {
    std::string device;
    ChoiceStatus status;
    std::string path;
  } rows[] = {
      {"1", ChoiceStatus::kChosen, sim::SimPath(1)},
      {"2", ChoiceStatus::kChosen, sim::SimPath(2)},
      {"3", ChoiceStatus::kNumberOutOfRange, ""},
      {"0", ChoiceStatus::kNumberOutOfRange, ""},
      {Hex(2), ChoiceStatus::kChosen, sim::SimPath(2)},
      {Hex(1), ChoiceStatus::kChosen, sim::SimPath(1)},
      {Hex(3), ChoiceStatus::kUnknownIdentity, ""},
      {sim::SimPath(2), ChoiceStatus::kChosen, sim::SimPath(2)},
      {"/dev/hidraw9", ChoiceStatus::kUnknownPath, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.device);
    KeypadRack rack(2);
    Surroundings env;
    const KeypadChoice choice = ChooseKeypad(rack.Bus(), env.log, env.notifier, row.device);
    EXPECT_EQ(choice.status, row.status);
    EXPECT_EQ(choice.path, row.path);
    if (row.status != ChoiceStatus::kChosen) {
      const std::string text = ChoiceProblemText(choice, row.device);
      EXPECT_EQ(text.rfind("--device " + row.device + ": ", 0), 0u) << text;
      EXPECT_NE(text.find("1  " + Hex(1)), std::string::npos) << text;
      EXPECT_NE(text.find("2  " + Hex(2)), std::string::npos) << text;
    }
  }
}

TEST(KeypadChoiceTest, ClonesWithOneIdentityAreToldApartByTheirPath) {
  KeypadRack rack(3);
  rack.Keypad(3).SetIdentity(rack.Keypad(2).Identity());
  Surroundings env;

  const KeypadChoice by_identity = ChooseKeypad(rack.Bus(), env.log, env.notifier, Hex(2));
  EXPECT_EQ(by_identity.status, ChoiceStatus::kSharedIdentity);
  EXPECT_FALSE(by_identity.list.keypads[0].shared_identity);
  EXPECT_TRUE(by_identity.list.keypads[1].shared_identity);
  EXPECT_TRUE(by_identity.list.keypads[2].shared_identity);
  EXPECT_NE(KeypadListText(by_identity.list).find(sim::SimPath(3) + "  (identity shared"),
            std::string::npos);

  EXPECT_EQ(ChooseKeypad(rack.Bus(), env.log, env.notifier, sim::SimPath(3)).path, sim::SimPath(3));
}

TEST(KeypadChoiceTest, DetailsSayWhatTheKeypadCouldNotTell) {
  KeypadRack rack(2);
  Surroundings env;
  KeypadList list = FindKeypadList(rack.Bus(), env.log, env.notifier);
  rack.Keypad(1).SetGone(true);  // unplugged between the search and the reading of details
  ReadKeypadDetails(list, rack.Bus(), env.log, env.notifier);

  ASSERT_EQ(list.keypads.size(), 2u);
  EXPECT_FALSE(list.keypads[0].identity.has_value());
  EXPECT_FALSE(list.keypads[0].firmware_version.has_value());
  EXPECT_EQ(list.keypads[1].identity, sim::SimIdentity("", 2));
  EXPECT_EQ(list.keypads[1].firmware_version, kFirmwareNewStrings);
  const std::string firmware = FormatText("  firmware 0x%02x", kFirmwareNewStrings);
  EXPECT_EQ(KeypadListText(list), "1  " + std::string(32, '?') + "  firmware ?     " +
                                      sim::SimPath(1) + "\n2  " + Hex(2) + firmware + "  " +
                                      sim::SimPath(2) + "\n");
}

TEST(KeypadChoiceTest, IdentitiesAreReadInEitherCaseWithOrWithoutSeparators) {
  const DeviceId identity = sim::SimIdentity("", 2);
  const std::string hex = IdentityHex(identity);
  std::string spaced;  // "04 b4 08 …" as a dump shows it
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    spaced += (i == 0 ? "" : " ") + hex.substr(i, 2);
  }
  std::string upper = IdentityHex(identity);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  EXPECT_EQ(ParseIdentity(IdentityHex(identity)), identity);
  EXPECT_EQ(ParseIdentity(spaced), identity);
  EXPECT_EQ(ParseIdentity(upper), identity);
  EXPECT_EQ(ParseIdentity(IdentityHex(identity).substr(2)), std::nullopt);  // too short
  EXPECT_EQ(ParseIdentity(IdentityHex(identity) + "00"), std::nullopt);     // too long
  EXPECT_EQ(ParseIdentity("g" + IdentityHex(identity).substr(1)), std::nullopt);
  EXPECT_EQ(ParseIdentity(""), std::nullopt);
}

TEST(KeypadChoiceTest, ASessionAttachesToTheChosenKeypadOnly) {
  KeypadRack rack(2);
  Surroundings env;
  KeypadSession session(rack.Bus(), env.log, env.notifier);

  EXPECT_EQ(session.Attach("sim:elsewhere").status, SessionStatus::kNoKeypad);
  EXPECT_FALSE(session.Connected());

  const AttachResult attached = session.Attach(sim::SimPath(2));
  EXPECT_EQ(attached.status, SessionStatus::kDone);
  EXPECT_EQ(attached.found, 2);
  EXPECT_EQ(session.OpenPath(), sim::SimPath(2));
  EXPECT_EQ(session.Load().status, SessionStatus::kDone);
  EXPECT_GT(rack.Keypad(2).RequestCount(), 0u);
  EXPECT_EQ(rack.Keypad(1).RequestCount(), 0u);
}

}  // namespace
}  // namespace qp40::testing
