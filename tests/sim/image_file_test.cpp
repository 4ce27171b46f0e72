#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sim/virtual_keypad.h"
#include "support/file_rights.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qp40::sim {
namespace {

using qp40::testing::FileSizeLimit;

class ImageFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder.File(name); }

  void WriteFile(const std::string& path, std::size_t size, char value) {
    std::ofstream file(path, std::ios::binary);
    const std::vector<char> bytes(size, value);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::vector<char> ReadAll(const std::string& path) const {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  qp40::testing::TempFolder folder{"qp40-image-"};
};

TEST_F(ImageFileTest, SavedImageLoadsBackBlockByBlock) {
  VirtualKeypad original;
  original.BlockData(0)[0] = 0x01;
  original.BlockData(0x41)[2047] = 0x42;
  original.BlockData(127)[5] = 0x7F;
  const std::string path = PathOf("keypad.img");
  ASSERT_TRUE(original.SaveImage(path));
  EXPECT_EQ(std::filesystem::file_size(path), kImageSize);

  VirtualKeypad loaded(0x21);
  ASSERT_TRUE(loaded.LoadImage(path));
  for (std::uint8_t block = 0; block < kBlockCount; ++block) {
    ASSERT_TRUE(std::ranges::equal(loaded.BlockData(block), original.BlockData(block))) << +block;
  }

  // Block b sits at offset 2048·b of the file.
  std::ifstream file(path, std::ios::binary);
  file.seekg(0x41 * 2048 + 2047);
  EXPECT_EQ(file.get(), 0x42);
}

TEST_F(ImageFileTest, RefusesFilesOfAnotherSizeAndKeepsTheMemory) {
  const std::vector<std::pair<const char*, std::size_t>> sizes = {
      {"empty", 0}, {"one byte short", kImageSize - 1}, {"one byte long", kImageSize + 1}};
  for (const auto& [name, size] : sizes) {
    SCOPED_TRACE(name);
    const std::string path = PathOf(name);
    WriteFile(path, size, 0x11);
    VirtualKeypad keypad;
    const VirtualKeypad untouched;

    EXPECT_FALSE(keypad.LoadImage(path));

    EXPECT_TRUE(std::ranges::equal(keypad.BlockData(0x1C), untouched.BlockData(0x1C)));
    EXPECT_TRUE(std::ranges::equal(keypad.BlockData(0), untouched.BlockData(0)));
  }
}

TEST_F(ImageFileTest, MissingFileOrUnwritablePathFails) {
  VirtualKeypad keypad;
  EXPECT_FALSE(keypad.LoadImage(PathOf("absent.img")));
  EXPECT_FALSE(keypad.SaveImage(PathOf("no-such-folder/keypad.img")));
}

TEST_F(ImageFileTest, SaveThatFailsHalfWayLeavesThePreviousImageWhole) {
  if (!qp40::testing::kFileSizeLimitAvailable) GTEST_SKIP() << "no file size limit on this system";
  const std::string path = PathOf("keypad.img");
  VirtualKeypad previous;
  previous.BlockData(0)[0] = 0x01;
  ASSERT_TRUE(previous.SaveImage(path));
  const std::vector<char> before = ReadAll(path);

  VirtualKeypad changed;
  changed.BlockData(0)[0] = 0x02;
  {
    const FileSizeLimit limit(kImageSize / 2);
    EXPECT_FALSE(changed.SaveImage(path));
  }

  EXPECT_EQ(ReadAll(path), before);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
  ASSERT_TRUE(changed.SaveImage(path));
  EXPECT_EQ(ReadAll(path)[0], 0x02);
}

TEST_F(ImageFileTest, SaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
  if (!qp40::testing::kPosixPermissions)
    GTEST_SKIP() << "symbolic links need extra rights on Windows";
  const std::string real = PathOf("real.img");
  const std::string link = PathOf("link.img");
  VirtualKeypad keypad;
  ASSERT_TRUE(keypad.SaveImage(real));
  std::filesystem::create_symlink(real, link);

  keypad.BlockData(3)[0] = 0x33;
  ASSERT_TRUE(keypad.SaveImage(link));

  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(real)[3 * kBlockSize], 0x33);
}

}  // namespace
}  // namespace qp40::sim
