#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "persistence/construction_file.h"
#include "persistence/safe_file.h"
#include "support/message_of.h"
#include "support/small_filesystem.h"

namespace didod {
namespace {

using testing::EntriesOf;
using testing::MessageOf;
using testing::ReadFileText;
using testing::RunAsNormalUser;
using testing::SmallFilesystem;
using testing::WriteFileText;

std::span<const unsigned char> BytesOf(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

unsigned ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// A construction file's lines that compress to several kilobytes.
std::vector<std::string> ManyLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(std::to_string(i * 7919 % 10007) + "\t" + std::to_string(i));
  return lines;
}

// A folder of its own under /tmp that everybody may enter.
class Folder {
 public:
  Folder() {
    char name[] = "/tmp/didod-safe-XXXXXX";
    path_ = ::mkdtemp(name) ? name : "";
    ::chmod(path_.c_str(), 0755);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(SafeFile, FullDiskKeepsTheOldFileAndLeavesNoPartialFile) {
  SmallFilesystem disk;
  if (disk.path().empty()) GTEST_SKIP() << disk.why();
  const std::string target = disk.File("netz.pko");
  WriteFileText(target, "alte Bytes");
  ASSERT_GT(disk.Fill(), 0);
  EXPECT_EQ(MessageOf([&] { SaveListCompressed(ManyLines(), target); }), "Stream write error");
  EXPECT_EQ(ReadFileText(target), "alte Bytes");
  const std::string fresh = disk.File("neu.pko");
  EXPECT_EQ(MessageOf([&] { SaveListCompressed(ManyLines(), fresh); }), "Stream write error");
  EXPECT_EQ(disk.Entries(), std::vector<std::string>{"netz.pko"});
}

TEST(SafeFile, AFileItsOwnerMadeReadOnlyIsNotReplaced) {
  Folder folder;
  const std::string target = folder.File("fest.pko");
  WriteFileText(target, "alte Bytes");
  ::chmod(target.c_str(), 0444);
  // Refused for every user, root included, as the platform refuses to open it.
  EXPECT_EQ(MessageOf([&] { SaveListCompressed(ManyLines(), target); }), "Cannot create file " + target);
  EXPECT_EQ(ReadFileText(target), "alte Bytes");
  EXPECT_EQ(ModeOf(target), 0444u);
  EXPECT_EQ(EntriesOf(folder.path()), std::vector<std::string>{"fest.pko"});
  // A file of another user that this one may not write is refused too (only
  // root can make such a file here).
  if (::geteuid() != 0) return;
  const std::string foreign = folder.File("fremd.pko");
  WriteFileText(foreign, "fremd");
  ::chmod(foreign.c_str(), 0644);
  const int refused = RunAsNormalUser(
      [&] { return MessageOf([&] { WriteFileSafely(foreign, BytesOf("neu")); }) == "Cannot create file " + foreign ? 0 : 1; });
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(ReadFileText(foreign), "fremd");
}

TEST(SafeFile, AWritableFileInAFolderThatIsNotIsWrittenInPlace) {
  Folder folder;
  const std::string target = folder.File("hier.pko");
  WriteFileText(target, "alte Bytes, etwas länger als die neuen");
  ::chmod(target.c_str(), 0666);
  ::chmod(folder.path().c_str(), 0555);
  const int result = RunAsNormalUser([&] { return MessageOf([&] { WriteFileSafely(target, BytesOf("neu")); }).empty() ? 0 : 1; });
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFileText(target), "neu");
  EXPECT_EQ(ModeOf(target), 0666u);
  EXPECT_EQ(EntriesOf(folder.path()), std::vector<std::string>{"hier.pko"});
}

TEST(SafeFile, AFailedWriteInPlaceGivesTheFileItsOldBytesBack) {
  SmallFilesystem disk;
  if (disk.path().empty()) GTEST_SKIP() << disk.why();
  const std::string folder = disk.File("fest");
  ::mkdir(folder.c_str(), 0755);
  const std::string target = folder + "/hier.pko";
  WriteFileText(target, "alte Bytes");
  ::chmod(target.c_str(), 0666);
  ::chmod(folder.c_str(), 0555);
  ::chmod(disk.path().c_str(), 0755);
  ASSERT_GT(disk.Fill(), 0);
  const std::string big(200000, 'n');
  const int result = RunAsNormalUser([&] {
    return MessageOf([&] { WriteFileSafely(target, BytesOf(big)); }) == "Stream write error" ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFileText(target), "alte Bytes");
  EXPECT_EQ(EntriesOf(folder), std::vector<std::string>{"hier.pko"});
}

}  // namespace
}  // namespace didod
