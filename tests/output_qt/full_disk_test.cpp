#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <functional>
#include <string>
#include <vector>

#include "../craft/nets.h"
#include "craft/sheet.h"
#include "output/craft_writer.h"
#include "output/picture_files.h"
#include "persistence/construction_file.h"
#include "support/message_of.h"
#include "support/small_filesystem.h"
#include "tests/output_qt/sample.h"

namespace didod {
namespace {

using testing::MessageOf;
using testing::ReadFileText;
using testing::SmallFilesystem;
using testing::WriteFileText;

// Every file the program writes, by the name of its writer, with the message
// its failure on a full disk gives.
struct Writer {
  const char* name;
  std::function<void(const std::string& path)> write;
};

std::vector<Writer> EveryWriter() {
  auto sample = didod::testing::MakeSample();
  const PaintProc paint = didod::testing::PaintOf(sample, 400, 300);
  auto picture = [paint](PictureFormat format) {
    return [paint, format](const std::string& path) {
      WritePicture(format, QString::fromStdString(path), 400, 300, paint);
    };
  };
  const Construction cube = craft::testing::CubeCross();
  craft::CraftOptions options;
  options.edgeLength = 40.0;
  options.title = "Würfel";
  const craft::CraftSheet sheet =
      craft::LayoutCraftSheet(cube, craft::testing::HingesOf(cube), craft::testing::CubeCrossGluings(), options);
  return {
      {"BMP", picture(PictureFormat::Bitmap)},
      {"BMP 16 Farben", picture(PictureFormat::Bitmap16)},
      {"JPEG", picture(PictureFormat::Jpeg)},
      {"GIF", picture(PictureFormat::Gif)},
      {"PNG", picture(PictureFormat::Png)},
      {"Metafile", picture(PictureFormat::Metafile)},
      {"SVG", picture(PictureFormat::Svg)},
      {"PDF", picture(PictureFormat::Pdf)},
      {"Bastelbogen PDF", [sheet](const std::string& path) { WriteCraftPdf(sheet, path); }},
      {"Bastelbogen SVG", [sheet](const std::string& path) { WriteCraftSvg(sheet, path); }},
      {"Konstruktion", [sample](const std::string& path) { SaveConstructionFile(*sample, path); }},
  };
}

TEST(FullDisk, EveryWriterFailsLoudlyAndLeavesTheOldFileAsItWas) {
  SmallFilesystem disk(1024);
  if (disk.path().empty()) GTEST_SKIP() << disk.why();
  const std::string old = "die alte Datei, die bleiben muss";
  const std::vector<Writer> writers = EveryWriter();
  for (std::size_t i = 0; i < writers.size(); ++i) WriteFileText(disk.File("alt" + std::to_string(i)), old);
  // Each writer works while there is room ...
  for (const Writer& w : writers) {
    const std::string path = disk.File("probe");
    EXPECT_EQ(MessageOf([&] { w.write(path); }), "") << w.name;
    EXPECT_GT(ReadFileText(path).size(), 0u) << w.name;
    ::unlink(path.c_str());
  }
  // ... and on the full disk fails with the stream error, replacing nothing
  // and leaving no partial or temporary file.
  ASSERT_GT(disk.Fill(), 0);
  for (std::size_t i = 0; i < writers.size(); ++i) {
    const std::string existing = disk.File("alt" + std::to_string(i));
    EXPECT_EQ(MessageOf([&] { writers[i].write(existing); }), "Stream write error") << writers[i].name;
    EXPECT_EQ(ReadFileText(existing), old) << writers[i].name;
    EXPECT_EQ(MessageOf([&] { writers[i].write(disk.File("neu")); }), "Stream write error") << writers[i].name;
  }
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < writers.size(); ++i) expected.push_back("alt" + std::to_string(i));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(disk.Entries(), expected);
}

TEST(ReadOnlyFile, EveryWriterRefusesToReplaceIt) {
  QTemporaryDir dir;
  for (const Writer& w : EveryWriter()) {
    const std::string path = dir.filePath("schreibgeschuetzt").toStdString();
    WriteFileText(path, "fest");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(MessageOf([&] { w.write(path); }), "Cannot create file " + path) << w.name;
    EXPECT_EQ(ReadFileText(path), "fest") << w.name;
    ::chmod(path.c_str(), 0644);
    ::unlink(path.c_str());
  }
}

}  // namespace
}  // namespace didod
