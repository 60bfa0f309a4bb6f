// The batch tool didod-unfold: a file in, a construction file out.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "persistence/construction_file.h"
#include "unfold/export.h"

namespace didod::unfold {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exit = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Outcome Tool(const std::string& args, const fs::path& dir) {
  const fs::path out = dir / "stdout", err = dir / "stderr";
  const std::string command =
      std::string(DIDOD_UNFOLD_TOOL) + " " + args + " >" + out.string() + " 2>" + err.string();
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

TEST(Tool, UnfoldsAFileIntoAConstructionFileAndRefusesABadOneWithItsMessage) {
  const fs::path dir = fs::temp_directory_path() / ("didod-unfold-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  // A square pyramid as a binary STL.
  const Polyhedron pyramid{{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {0, 0, 1.5}},
                           {{0, 3, 2, 1}, {0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}}};
  const std::vector<unsigned char> stl = SolidFileBytes(pyramid, SolidFormat::StlBinary);
  std::ofstream(dir / "pyramide.stl", std::ios::binary).write(reinterpret_cast<const char*>(stl.data()),
                                                              static_cast<std::streamsize>(stl.size()));
  const fs::path net = dir / "pyramide.pko";
  const Outcome good = Tool((dir / "pyramide.stl").string() + " " + net.string(), dir);
  EXPECT_EQ(good.exit, 0) << good.err;
  EXPECT_NE(good.out.find("5 Ecken, 8 Kanten, 5 Fl\xC3\xA4" "chen; Netz mit 16 Punkten"), std::string::npos) << good.out;
  const Construction c = LoadConstructionFile(net.string(), ViewCentreOf(799, 638));
  EXPECT_EQ(c.FaceCount, 5);
  EXPECT_EQ(c.JoinList.size(), 8u);

  // An open file: the import's message, no construction file.
  std::ofstream(dir / "offen.off") << "OFF\n4 3 0\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n3 0 2 1\n3 0 1 3\n3 1 2 3\n";
  const Outcome bad = Tool((dir / "offen.off").string() + " " + (dir / "offen.pko").string(), dir);
  EXPECT_EQ(bad.exit, 1);
  EXPECT_EQ(bad.err, "\xE2\x80\x9E" "offen.off\xE2\x80\x9C ist nicht geschlossen: 3 Kanten geh\xC3\xB6ren nur zu einer "
                     "Fl\xC3\xA4" "che\n");
  EXPECT_FALSE(fs::exists(dir / "offen.pko"));
  EXPECT_EQ(Tool("nur-eins.off", dir).exit, 2);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace didod::unfold
