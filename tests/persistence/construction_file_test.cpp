#include "persistence/construction_file.h"

#include <gtest/gtest.h>

#include "support/message_of.h"
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "persistence/net_record.h"
#include "persistence/zstream.h"

namespace didod {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
constexpr ViewCentre kCentre{399, 319};

using didod::testing::MessageOf;

class ConstructionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("didod_files_" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  static Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static void Write(const std::string& path, const std::string& text) { Write(path, Bytes(text.begin(), text.end())); }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
    return names;
  }

  // What the window does: replace the construction only when the load succeeds.
  std::string LoadInto(Construction& c, const std::string& path) {
    return MessageOf([&] { c = LoadConstructionFile(path, kCentre); });
  }

  static Construction Sample() {
    Construction c;
    c.AppendWholeFace({{0, 0}, {-1, 0}, {-0.5, -0.8660254037844386}}, kCentre);
    c.AppendWholeFace({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, kCentre);
    c.ScreenPoints[4].Fixed = true;
    c.JoinList = {"4\t1"};
    return c;
  }

  fs::path folder_;
};

TEST_F(ConstructionFile, TriangleFileIsOneLevelNineStreamOfTwelveLines) {
  Construction c;
  c.AppendWholeFace({{0, 0}, {-1, 0}, {-0.5, -0.8660254037844386}}, kCentre);
  const std::string path = Path("triangle.pko");
  SaveConstructionFile(c, path);
  const Bytes bytes = Read(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0x78);
  EXPECT_EQ(bytes[1], 0xDA);
  EXPECT_EQ(InflateStream(bytes), "1\r\n3\r\n3\r\n0\r\n0\r\n0\r\n-1\r\n0\r\n0\r\n-0.5\r\n-0.8660254038\r\n0\r\n");
  EXPECT_EQ(bytes, DeflateStream(std::string(
                       "1\r\n3\r\n3\r\n0\r\n0\r\n0\r\n-1\r\n0\r\n0\r\n-0.5\r\n-0.8660254038\r\n0\r\n")));
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"triangle.pko"});  // no temporary left behind
}

TEST_F(ConstructionFile, RoundTripOfAZoomedConstructionWithJoins) {
  Construction c = Sample();
  c.AppendWholeFace({{0.123456789012345, 2.5}, {-3, 1e-11}, {7.25, -0.00000000006}}, kCentre);
  c.ScreenPoints[1].Fixed = true;
  c.JoinList = {"1\t4", "", "9\t2"};
  c.Scale = 66.55;
  c.RecomputeScreenPoints(kCentre);
  const std::string path = Path("zoomed.pko");
  SaveConstructionFile(c, path);
  EXPECT_EQ(c.Scale, 66.55);  // saving changes nothing

  const ViewCentre otherCentre{500, 200};
  const Construction loaded = LoadConstructionFile(path, otherCentre);
  EXPECT_EQ(loaded.FaceCount, 3);
  EXPECT_EQ(loaded.PointCount, 10);
  EXPECT_EQ(loaded.Scale, 50.0);
  EXPECT_EQ(loaded.JoinList, c.JoinList);
  for (int f = 1; f <= 3; ++f) EXPECT_EQ(loaded.FaceSizes[f], c.FaceSizes[f]);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_EQ(loaded.ScreenPoints[i].Fixed, c.ScreenPoints[i].Fixed) << i;
    EXPECT_NEAR(loaded.NetPoints[i].x, c.NetPoints[i].x, 0.5e-10) << i;
    EXPECT_NEAR(loaded.NetPoints[i].y, c.NetPoints[i].y, 0.5e-10) << i;
    EXPECT_EQ(loaded.ScreenPoints[i].x, PixelX(loaded.NetPoints[i].x, 50.0, 500)) << i;
    EXPECT_EQ(loaded.ScreenPoints[i].y, PixelY(loaded.NetPoints[i].y, 50.0, 200)) << i;
  }
  EXPECT_EQ(loaded.NetPoints[8].x, 0.1234567890);
  EXPECT_EQ(loaded.NetPoints[9].y, 0.0);
  EXPECT_TRUE(loaded.IsConsistent());

  // A second round changes nothing more.
  SaveConstructionFile(loaded, path);
  EXPECT_TRUE(LoadConstructionFile(path, otherCentre).SameContent(loaded));
}

TEST_F(ConstructionFile, EmptyConstructionIsTwoLines) {
  const std::string path = Path("empty.pko");
  SaveConstructionFile(Construction{}, path);
  EXPECT_EQ(InflateStream(Read(path)), "0\r\n0\r\n");
  Construction c = Sample();
  EXPECT_EQ(LoadInto(c, path), "");
  EXPECT_EQ(c.FaceCount, 0);
  EXPECT_TRUE(c.JoinList.empty());
}

TEST_F(ConstructionFile, FailedLoadsKeepTheConstruction) {
  Construction c = Sample();
  c.Scale = 55.0;
  c.RecomputeScreenPoints(kCentre);
  const Construction before = c;

  const std::string missing = Path("missing.pko");
  EXPECT_EQ(LoadInto(c, missing), "Cannot open file " + missing);
  EXPECT_EQ(LoadInto(c, Path("")), "Cannot open file " + Path(""));  // the folder itself
  const std::string pipe = Path("pipe.pko");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(LoadInto(c, pipe), "Cannot open file " + pipe);  // refused, not waited on

  const std::string plain = Path("plain.pko");
  Write(plain, std::string("1\r\n3\r\n3\r\n0\r\n0\r\n0\r\n-1\r\n0\r\n0\r\n-0.5\r\n-0.8\r\n0\r\n"));
  EXPECT_EQ(LoadInto(c, plain), "error");

  const std::string empty = Path("empty.pko");
  Write(empty, Bytes{});
  EXPECT_EQ(LoadInto(c, empty), "List index out of bounds (0)");

  const Bytes whole = DeflateStream(JoinLines(WriteNetRecord(Sample())));
  const std::string cut = Path("cut.pko");
  Write(cut, Bytes(whole.begin(), whole.end() - 5));
  EXPECT_EQ(LoadInto(c, cut), "error");
  Bytes damaged = whole;
  damaged[damaged.size() - 1] ^= 0x01;  // wrong check value
  Write(cut, damaged);
  EXPECT_EQ(LoadInto(c, cut), "error");

  // A whole stream whose text stops in the middle of the points.
  Write(cut, DeflateStream(std::string("1\r\n3\r\n3\r\n0\r\n0\r\n0\r\n-1\r\n")));
  EXPECT_EQ(LoadInto(c, cut), "List index out of bounds (7)");

  const std::string tooMany = Path("toomany.pko");
  Write(tooMany, DeflateStream(std::string("200\r\n")));
  EXPECT_EQ(LoadInto(c, tooMany), "Die Datei enth\xC3\xA4lt keine g\xC3\xBCltige Konstruktion.");
  Write(tooMany, DeflateStream(std::string("1\r\n3\r\n4\r\n")));
  EXPECT_EQ(LoadInto(c, tooMany), kInvalidConstructionMessage);

  EXPECT_TRUE(c.SameContent(before));
  EXPECT_EQ(c.Scale, 55.0);
}

TEST_F(ConstructionFile, BytesAfterTheStreamAreIgnored) {
  Bytes bytes = DeflateStream(JoinLines(WriteNetRecord(Sample())));
  bytes.push_back(0x00);
  bytes.push_back('x');
  const std::string path = Path("extra.pko");
  Write(path, bytes);
  Construction c;
  EXPECT_EQ(LoadInto(c, path), "");
  EXPECT_TRUE(c.SameContent(LoadConstructionFile(path, kCentre)));
  EXPECT_EQ(c.PointCount, 7);
  EXPECT_EQ(c.JoinList, std::vector<std::string>{"4\t1"});
}

TEST_F(ConstructionFile, NulEndsTheText) {
  const std::string path = Path("nul.pko");
  Write(path, DeflateStream(std::string("0\r\n0\r\n4\t1\r\n\0garbage\r\n", 21)));
  EXPECT_EQ(LoadConstructionFile(path, kCentre).JoinList, std::vector<std::string>{"4\t1"});
}

TEST_F(ConstructionFile, OversizedStreamsAreRefused) {
  const std::string path = Path("bomb.pko");
  // Inflates past the bound: refused like any damaged stream.
  Write(path, DeflateStream(std::string(kMaxInflatedSize + 1, '\n')));
  Construction c = Sample();
  EXPECT_EQ(LoadInto(c, path), "error");
  // Within the bound but far more lines than any construction.
  Write(path, DeflateStream("0\r\n0\r\n" + std::string(kMaxFileLines, '\n')));
  EXPECT_EQ(LoadInto(c, path), kInvalidConstructionMessage);
  // A construction with a long join list still loads.
  std::string text = "0\r\n0\r\n";
  for (int i = 0; i < 5000; ++i) text += "1\t2\r\n";
  Write(path, DeflateStream(text));
  EXPECT_EQ(LoadInto(c, path), "");
  EXPECT_EQ(c.JoinList.size(), 5000u);
}

TEST_F(ConstructionFile, SaveThatCannotCreateLeavesNothing) {
  const std::string nowhere = Path("no/such/folder/x.pko");
  EXPECT_EQ(MessageOf([&] { SaveConstructionFile(Sample(), nowhere); }), "Cannot create file " + nowhere);
  // A folder in the way cannot be replaced by a file.
  const std::string folder = Path("folder.pko");
  fs::create_directory(folder);
  EXPECT_EQ(MessageOf([&] { SaveConstructionFile(Sample(), folder); }), "Cannot create file " + folder);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"folder.pko"});
}

TEST_F(ConstructionFile, FailedWriteKeepsThePreviousFile) {
  const std::string path = Path("kept.pko");
  SaveConstructionFile(Sample(), path);
  ::chmod(path.c_str(), 0640);
  const Bytes previous = Read(path);

  // A construction whose stream exceeds the file size limit makes the write fail.
  Construction big;
  for (int f = 0; f < 199; ++f)
    big.AppendWholeFace({{f * 0.1234567891, 1.0 / (f + 3)}, {f / 7.0, -f / 3.0}, {f * 1.1, 2.2}}, kCentre);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 256;
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = MessageOf([&] { SaveConstructionFile(big, path); });
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(message, "Stream write error");
  EXPECT_EQ(Read(path), previous);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"kept.pko"});

  // A successful save replaces the file and keeps its permissions.
  SaveConstructionFile(big, path);
  EXPECT_EQ(LoadConstructionFile(path, kCentre).FaceCount, 199);
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(ConstructionFile, SaveThroughALinkUpdatesTheLinkedFile) {
  const std::string real = Path("real.pko");
  const std::string link = Path("link.pko");
  SaveConstructionFile(Construction{}, real);
  fs::create_symlink(real, link);
  SaveConstructionFile(Sample(), link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(LoadConstructionFile(real, kCentre).FaceCount, 2);
}

TEST_F(ConstructionFile, ListHelpersRoundTripLines) {
  const std::string path = Path("list.pko");
  const std::vector<std::string> lines{"a", "", "b\tc"};
  SaveListCompressed(lines, path);
  std::vector<std::string> read{"old"};
  LoadListCompressed(read, path);
  EXPECT_EQ(read, lines);
  std::vector<std::string> kept{"old"};
  EXPECT_EQ(MessageOf([&] { LoadListCompressed(kept, Path("none")); }), "Cannot open file " + Path("none"));
  EXPECT_EQ(kept, std::vector<std::string>{"old"});
}

}  // namespace
}  // namespace didod
