#include "files/file_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/file_rights.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qp40 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileReplaceTest : public ::testing::Test {
 protected:
  static Bytes Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  // The names in the folder, sorted: shows that no temporary file was left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder folder{"qp40-files-"};
  const Bytes old_bytes = Bytes(3000, 0x42);
  const Bytes new_bytes = Bytes(6000, 0x17);
};

TEST_F(FileReplaceTest, NewFileAndReplacedFileHoldExactlyTheBytes) {
  const fs::path path = folder.Path() / "image.bin";
  ASSERT_TRUE(ReplaceFileContents(path, new_bytes));
  EXPECT_EQ(Read(path), new_bytes);

  // A shorter content leaves nothing of the longer one behind.
  const Bytes shorter = {1, 2, 3};
  ASSERT_TRUE(ReplaceFileContents(path, shorter));
  EXPECT_EQ(Read(path), shorter);
  EXPECT_EQ(Names(), std::vector<std::string>{"image.bin"});
}

TEST_F(FileReplaceTest, WriteFailingHalfWayKeepsTheOldFile) {
  if (!testing::kFileSizeLimitAvailable) GTEST_SKIP() << "no file size limit on this system";
  const fs::path path = folder.Path() / "image.bin";
  Write(path, old_bytes);

  bool replaced = true;
  {
    const testing::FileSizeLimit limit(4096);
    replaced = ReplaceFileContents(path, new_bytes);
  }

  EXPECT_FALSE(replaced);
  EXPECT_EQ(Read(path), old_bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"image.bin"});
}

TEST_F(FileReplaceTest, WriteProtectedFileIsRefusedAndKept) {
  if (testing::WritesEveryFile()) {
    GTEST_SKIP() << "this process may write read-only files";
  }
  const fs::path path = folder.Path() / "image.bin";
  Write(path, old_bytes);
  fs::permissions(path, fs::perms::owner_read);

  EXPECT_FALSE(ReplaceFileContents(path, new_bytes));
  EXPECT_EQ(Read(path), old_bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"image.bin"});
}

TEST_F(FileReplaceTest, FolderInTheWayIsRefusedAndLeftAsItIs) {
  const fs::path path = folder.Path() / "image.bin";
  fs::create_directory(path);
  Write(path / "inside.txt", old_bytes);

  EXPECT_FALSE(ReplaceFileContents(path, new_bytes));
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(Read(path / "inside.txt"), old_bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"image.bin"});
}

TEST_F(FileReplaceTest, MissingFolderIsRefused) {
  EXPECT_FALSE(ReplaceFileContents(folder.Path() / "no" / "image.bin", new_bytes));
  EXPECT_TRUE(Names().empty());
}

TEST_F(FileReplaceTest, SymbolicLinkIsFollowedAndPermissionsKept) {
  if (!testing::kPosixPermissions) GTEST_SKIP() << "POSIX permissions and symbolic links only";
  const fs::path real = folder.Path() / "real.bin";
  const fs::path link = folder.Path() / "link.bin";
  Write(real, old_bytes);
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);

  ASSERT_TRUE(ReplaceFileContents(link, new_bytes));

  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
  EXPECT_EQ(Read(real), new_bytes);
  EXPECT_EQ(fs::status(real).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(), (std::vector<std::string>{"link.bin", "real.bin"}));
}

TEST_F(FileReplaceTest, UsersFileWithTheTemporaryNameIsNotTouched) {
  const fs::path path = folder.Path() / "image.bin";
  const fs::path users = folder.Path() / "image.bin.tmp";
  Write(users, old_bytes);

  ASSERT_TRUE(ReplaceFileContents(path, new_bytes));

  EXPECT_EQ(Read(path), new_bytes);
  EXPECT_EQ(Read(users), old_bytes);
  EXPECT_EQ(Names(), (std::vector<std::string>{"image.bin", "image.bin.tmp"}));
}

}  // namespace
}  // namespace qp40
