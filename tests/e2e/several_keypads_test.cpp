// qp40ctl with two virtual keypads: the list, choosing one with --device, and the refusal to
// guess which one is meant.
#include <filesystem>
#include <string>
#include <vector>

#include "ctl_runner.h"

namespace qp40::e2e {
namespace {

using ::testing::HasSubstr;

class SeveralKeypadsTest : public CtlTest {
 protected:
  std::string First() const { return "--simulate=" + Path("left.img").string(); }
  std::string Second() const { return "--simulate=" + Path("right.img").string(); }
  std::vector<std::string> Both(std::vector<std::string> args) const {
    args.insert(args.begin(), {First(), Second()});
    return args;
  }
  // "04 b4 08 …", as info shows an identity.
  static std::string Spaced(const std::string& hex) {
    std::string spaced;
    for (std::size_t i = 0; i < hex.size(); i += 2)
      spaced += (i == 0 ? "" : " ") + hex.substr(i, 2);
    return spaced;
  }
  // The identity `list` shows for keypad `number` (1 or 2).
  std::string Identity(int number) {
    const std::string listed = Ok(Both({"list"}));
    const std::size_t line = number == 1 ? 0 : listed.find('\n') + 1;
    return listed.substr(line + 3, 32);
  }
};

TEST_F(SeveralKeypadsTest, ListShowsEachKeypadWithItsIdentityFirmwareAndPath) {
  const std::string listed = Ok(Both({"list"}));
  EXPECT_EQ(listed, "1  " + Identity(1) + "  firmware 0xff  sim:qp40-virtual-keypad\n2  " +
                        Identity(2) + "  firmware 0xff  sim:qp40-virtual-keypad-2\n");
  EXPECT_EQ(Identity(1).substr(0, 8), "04b40820");
  EXPECT_NE(Identity(1), Identity(2));

  const std::string json = Ok(Both({"list", "--json"}));
  EXPECT_THAT(json, HasSubstr("\"found\": 2"));
  EXPECT_THAT(json, HasSubstr("\"identity\": \"" + Identity(2) + "\""));
  EXPECT_THAT(json, HasSubstr("\"path\": \"sim:qp40-virtual-keypad-2\""));

  // The same image name in two folders: two clones, told apart by their paths.
  std::filesystem::create_directories(Path("copy"));
  const std::string clones = Ok({First(), "--simulate=" + Path("copy/left.img").string(), "list"});
  EXPECT_THAT(clones, HasSubstr("sim:qp40-virtual-keypad  (identity shared"));
  EXPECT_THAT(clones, HasSubstr("sim:qp40-virtual-keypad-2  (identity shared"));
}

TEST_F(SeveralKeypadsTest, DeviceTwoChangesOnlyTheSecondKeypad) {
  Ok(Both({"--device", "1", "key", "set", "1", "1", "8f000000"}));
  Ok(Both({"--device", "2", "key", "set", "1", "1", "Enter"}));

  EXPECT_EQ(Cells(Ok(Both({"--device", "1", "show", "--records"})))[0][0], "8f000000");
  EXPECT_EQ(Cells(Ok(Both({"--device", "2", "show", "--records"})))[0][0], "80280000");
  // Each keypad keeps its own image.
  EXPECT_NE(ReadBytes(Path("left.img")), ReadBytes(Path("right.img")));
  EXPECT_EQ(Cells(Ok({First(), "show", "--records"}))[0][0], "8f000000");
  EXPECT_EQ(Cells(Ok({"--simulate=" + Path("right.img").string(), "show", "--records"}))[0][0],
            "80280000");
}

TEST_F(SeveralKeypadsTest, DeviceNamesTheKeypadByNumberIdentityOrPath) {
  const std::string second = Identity(2);
  const std::vector<std::string> devices = {"2", second, Spaced(second),
                                            "sim:qp40-virtual-keypad-2"};
  for (const std::string& device : devices) {
    EXPECT_THAT(Ok(Both({"--device", device, "info"})),
                HasSubstr("Identity:         " + Spaced(second) + "\n"))
        << device;
  }
  // After the command it works as well.
  EXPECT_THAT(Ok(Both({"info", "--device", "1"})),
              HasSubstr("Identity:         " + Spaced(Identity(1)) + "\n"));
}

TEST_F(SeveralKeypadsTest, AKeypadNotNamedOrNamedWronglyIsRefusedWithTheList) {
  const struct {
    std::vector<std::string> device;
    std::string problem;
  } rows[] = {
      {{}, "2 keypads found; choose one with --device N, --device IDENTITY or --device PATH:"},
      {{"--device", "3"}, "--device 3: there is no keypad 3; the keypads are 1 to 2:"},
      {{"--device", "0"}, "--device 0: there is no keypad 0; the keypads are 1 to 2:"},
      {{"--device", std::string(32, 'a')},
       "--device " + std::string(32, 'a') + ": no keypad found has that identity"},
      {{"--device", "/dev/hidraw0"}, "--device /dev/hidraw0: no keypad found on that path"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = Both(row.device);
    args.emplace_back("info");
    const CtlResult result = RunCtl(args);
    EXPECT_EQ(result.exit_code, 2) << row.problem;
    EXPECT_THAT(result.err, HasSubstr("qp40ctl: " + row.problem));
    EXPECT_THAT(result.err, HasSubstr("2  " + Identity(2)));
    EXPECT_EQ(result.out, "");
  }
  // A lone keypad needs no --device, but a wrong one is still refused.
  EXPECT_EQ(RunCtl({First(), "--device", "2", "info"}).exit_code, 2);
  EXPECT_THAT(Ok({First(), "info"}), HasSubstr("Identity:"));
}

TEST_F(SeveralKeypadsTest, FaultsAndImagesMustFitTheKeypads) {
  const CtlResult fault = RunCtl(Both({"--sim-fault", "3:drop@1", "list"}));
  EXPECT_EQ(fault.exit_code, 2);
  EXPECT_THAT(fault.err, HasSubstr("a fault for virtual keypad 3, but there are 2"));

  const CtlResult twice = RunCtl({First(), First(), "list"});
  EXPECT_EQ(twice.exit_code, 2);
  EXPECT_THAT(twice.err, HasSubstr("is the image of two virtual keypads"));

  // A fault hits its own keypad only.
  EXPECT_EQ(RunCtl(Both({"--sim-fault", "2:gone@1", "--device", "1", "info"})).exit_code, 0);
  EXPECT_NE(RunCtl(Both({"--sim-fault", "2:gone@1", "--device", "2", "info"})).exit_code, 0);
}

TEST_F(SeveralKeypadsTest, ApplyAllPutsTheLayoutOnEveryKeypadAndAFailureStopsNoOther) {
  Ok({Simulate(), "key", "set", "1", "1", "Enter"});
  Ok({Simulate(), "export", Path("layout.qp40.json").string()});
  const std::string third = "--simulate=" + Path("third.img").string();

  // The second keypad goes away while its configuration is read.
  const CtlResult result = RunCtl(Both(
      {third, "--sim-fault", "2:gone@30", "apply", Path("layout.qp40.json").string(), "--all"}));
  EXPECT_EQ(result.exit_code, 1);
  const std::size_t table = result.out.find("Keypad  Identity");
  ASSERT_NE(table, std::string::npos) << result.out;
  const std::string rows = result.out.substr(table);
  EXPECT_THAT(rows, HasSubstr("1       " + Identity(1) + "  #28                   verified\n"));
  EXPECT_THAT(rows,
              HasSubstr("2       " + std::string(32, '?') + "  none                  failed\n"));
  EXPECT_THAT(rows, HasSubstr("3       "));
  EXPECT_THAT(rows.substr(rows.find("\n3       ")), HasSubstr("#28                   verified\n"));

  for (const std::string& simulate : {First(), third}) {
    EXPECT_EQ(Cells(Ok({simulate, "show", "--records"}))[0][0], "80280000") << simulate;
  }
  EXPECT_NE(Cells(Ok({Second(), "show", "--records"}))[0][0], "80280000");

  // Applied again: the first holds it already, the second, back now, gets it; --device and
  // --all do not go together.
  const std::string again = Ok(Both({"apply", Path("layout.qp40.json").string(), "--all"}));
  EXPECT_THAT(again, HasSubstr("Keypad 1 (sim:qp40-virtual-keypad):\nThe keypad holds this "
                               "layout already."));
  EXPECT_THAT(again, HasSubstr("2       " + Identity(2) + "  #28                   verified\n"));
  EXPECT_EQ(RunCtl(Both({"--device", "1", "apply", Path("layout.qp40.json").string(), "--all"}))
                .exit_code,
            2);
}

}  // namespace
}  // namespace qp40::e2e
