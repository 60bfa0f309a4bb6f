// Walks the records of the metafiles that the EMF canvas writes, independently of
// libUEMF, and compares the drawing with the calls the renderer makes.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "output/emf_canvas.h"
#include "output/picture_files.h"
#include "render/recording_canvas.h"
#include "sample.h"

namespace didod {
namespace {

using testing::kSheetH;
using testing::kSheetW;

struct Walked {
  std::vector<std::string> drawing;  // shapes and texts with the pen and brush in force
  std::vector<int> types;
  std::uint32_t headerBytes = 0, headerRecords = 0, headerHandles = 0;
  std::int32_t frame[4] = {};
  std::int32_t device[2] = {}, millimetres[2] = {};
  std::string error;
};

std::uint32_t U32(const QByteArray& b, qsizetype at) {
  std::uint32_t v = 0;
  std::memcpy(&v, b.constData() + at, 4);
  return v;
}
std::int32_t I32(const QByteArray& b, qsizetype at) { return static_cast<std::int32_t>(U32(b, at)); }

std::string Hex(std::uint32_t colorref) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
  return text;
}

Walked Walk(const QByteArray& emf) {
  Walked w;
  std::map<std::uint32_t, std::string> objects;  // handle -> "pen ..." / "brush ..." / "font ..."
  std::string pen = "pen #000000", brush = "brush white", font = "font system";
  qsizetype at = 0;
  while (at < emf.size()) {
    if (at + 8 > emf.size()) return w.error = "truncated record", w;
    const std::uint32_t type = U32(emf, at), size = U32(emf, at + 4);
    if (size < 8 || size % 4 != 0 || at + size > emf.size()) return w.error = "bad record size", w;
    w.types.push_back(static_cast<int>(type));
    const qsizetype d = at + 8;
    auto rect = [&](qsizetype p) {
      return std::to_string(I32(emf, p)) + "," + std::to_string(I32(emf, p + 4)) + "," +
             std::to_string(I32(emf, p + 8)) + "," + std::to_string(I32(emf, p + 12));
    };
    switch (type) {
      case 1:  // header
        if (U32(emf, d + 32) != 0x464D4520) return w.error = "no EMF signature", w;
        for (int i = 0; i < 4; ++i) w.frame[i] = I32(emf, d + 16 + 4 * i);
        w.headerBytes = U32(emf, d + 40);
        w.headerRecords = U32(emf, d + 44);
        w.headerHandles = U32(emf, d + 48) & 0xFFFF;
        w.device[0] = I32(emf, d + 64);
        w.device[1] = I32(emf, d + 68);
        w.millimetres[0] = I32(emf, d + 72);
        w.millimetres[1] = I32(emf, d + 76);
        break;
      case 38:  // create pen: handle, style, width, colour
        objects[U32(emf, d)] = U32(emf, d + 4) == 5 ? "pen none" : "pen " + Hex(U32(emf, d + 16));
        break;
      case 39:  // create brush: handle, style, colour
        objects[U32(emf, d)] = U32(emf, d + 4) == 1 ? "brush clear" : "brush " + Hex(U32(emf, d + 8));
        break;
      case 82: {  // create font: handle, LOGFONT (height ... face name)
        std::string face;
        for (int i = 0; i < 32; ++i) {
          const char16_t ch = static_cast<char16_t>(U32(emf, d + 4 + 28 + 2 * i) & 0xFFFF);
          if (ch == 0) break;
          face += static_cast<char>(ch);
        }
        objects[U32(emf, d)] = "font " + face + " " + std::to_string(I32(emf, d + 4));
        break;
      }
      case 37: {  // select
        const std::uint32_t handle = U32(emf, d);
        if (handle == 0x80000005u) brush = "brush clear";  // stock objects
        if (handle == 0x80000008u) pen = "pen none";
        if (handle == 0x80000007u) pen = "pen #000000";
        if (handle & 0x80000000u) break;
        auto found = objects.find(handle);
        if (found == objects.end()) return w.error = "select of unknown object", w;
        if (found->second.rfind("pen", 0) == 0) pen = found->second;
        if (found->second.rfind("brush", 0) == 0) brush = found->second;
        if (found->second.rfind("font", 0) == 0) font = found->second;
        break;
      }
      case 40:  // delete
        if (!objects.erase(U32(emf, d))) return w.error = "delete of unknown object", w;
        break;
      case 3: {  // polygon: bounds, count, points
        const std::uint32_t n = U32(emf, d + 16);
        std::string line = "polygon";
        for (std::uint32_t i = 0; i < n; ++i)
          line += " " + std::to_string(I32(emf, d + 20 + 8 * i)) + "," + std::to_string(I32(emf, d + 24 + 8 * i));
        w.drawing.push_back(line + " | " + pen + " " + brush);
        break;
      }
      case 42:
        w.drawing.push_back("ellipse " + rect(d) + " | " + pen + " " + brush);
        break;
      case 43:
        w.drawing.push_back("rectangle " + rect(d) + " | " + pen + " " + brush);
        break;
      case 84: {  // text: bounds, mode, scales, then reference point, count, offset of the string
        const qsizetype t = d + 28;
        const std::uint32_t n = U32(emf, t + 8), offset = U32(emf, t + 12);
        std::string text;
        for (std::uint32_t i = 0; i < n; ++i) text += static_cast<char>(emf[at + offset + 2 * i]);
        w.drawing.push_back("text " + std::to_string(I32(emf, t)) + "," + std::to_string(I32(emf, t + 4)) + " " +
                            text + " | " + font);
        break;
      }
      default:
        break;
    }
    at += size;
  }
  return w;
}

// The same drawing as it reaches a canvas, with the state in force, in the walker's terms.
std::vector<std::string> Expected(const PaintProc& paint, MetafileUse use) {
  RecordingCanvas recording;
  PrepareMetafileBackground(recording, kSheetW, kSheetH, use);
  paint(recording);
  std::vector<std::string> out;
  std::string penColour = "#000000", pen = "pen #000000", brush = "brush clear", font;
  for (const std::string& call : recording.calls) {
    if (call.rfind("pen #", 0) == 0) {
      penColour = call.substr(4);
      if (pen != "pen none") pen = call;
    } else if (call == "penstyle none") {
      pen = "pen none";
    } else if (call == "penstyle solid") {
      pen = "pen " + penColour;
    } else if (call.rfind("brush", 0) == 0) {
      brush = call;
    } else if (call.rfind("font ", 0) == 0) {
      const auto space = call.rfind(' ');
      font = call.substr(0, space) + " -" + std::to_string(FontPixelHeight(std::stoi(call.substr(space + 1))));
    } else if (call.rfind("text", 0) == 0) {
      out.push_back(call + " | " + font);
    } else {
      // Polygons list their corners the same way in both.
      std::string line = call;
      if (line.rfind("ellipse", 0) == 0 || line.rfind("rectangle", 0) == 0 || line.rfind("polygon", 0) == 0)
        out.push_back(line + " | " + pen + " " + brush);
    }
  }
  return out;
}

TEST(Metafile, RecordsHoldTheDrawingInOrder) {
  const auto sample = testing::MakeSample();
  const PaintProc paint = testing::PaintOf(sample, kSheetW, kSheetH, /*labels=*/true);
  for (MetafileUse use : {MetafileUse::File, MetafileUse::Clipboard, MetafileUse::Print}) {
    SCOPED_TRACE(static_cast<int>(use));
    const QByteArray emf = MakeMetafile(kSheetW, kSheetH, paint, use);
    const Walked w = Walk(emf);
    ASSERT_EQ(w.error, "");
    EXPECT_EQ(w.headerBytes, static_cast<std::uint32_t>(emf.size()));
    EXPECT_EQ(w.headerRecords, w.types.size());
    EXPECT_GE(w.headerHandles, 4u);
    ASSERT_FALSE(w.types.empty());
    EXPECT_EQ(w.types.front(), 1);
    EXPECT_EQ(w.types.back(), 14);
    EXPECT_EQ(w.drawing, Expected(paint, use));
  }
}

TEST(Metafile, FileAndClipboardOutlinesDiffer) {
  const auto sample = testing::MakeSample();
  const PaintProc paint = testing::PaintOf(sample, kSheetW, kSheetH);
  const Walked file = Walk(MakeMetafile(kSheetW, kSheetH, paint, MetafileUse::File));
  const Walked clip = Walk(MakeMetafile(kSheetW, kSheetH, paint, MetafileUse::Clipboard));
  ASSERT_FALSE(file.drawing.empty());
  ASSERT_FALSE(clip.drawing.empty());
  EXPECT_EQ(file.drawing[0], "rectangle -1,-1,201,151 | pen #FFFFFF brush #FFFFFF");
  EXPECT_EQ(clip.drawing[0], "rectangle -1,-1,201,151 | pen #000000 brush #FFFFFF");
  // Then the red origin marker with the black pen.
  EXPECT_EQ(file.drawing[1], "ellipse 98,73,103,78 | pen #000000 brush #FF0000");
}

TEST(Metafile, OneLogicalUnitPerScreenPixel) {
  const auto sample = testing::MakeSample();
  const Walked w = Walk(MakeMetafile(kSheetW, kSheetH, testing::PaintOf(sample, kSheetW, kSheetH), MetafileUse::File));
  ASSERT_EQ(w.error, "");
  // Frame in hundredths of a millimetre at 96 pixels to the inch.
  EXPECT_EQ(w.frame[2], 5292);  // 200 px = 52.92 mm
  EXPECT_EQ(w.frame[3], 3969);  // 150 px = 39.69 mm
  EXPECT_NEAR(w.device[0] * 25.4 / w.millimetres[0], 96.0, 1e-9);
  EXPECT_NEAR(w.device[1] * 25.4 / w.millimetres[1], 96.0, 1e-9);
}

TEST(Metafile, SavedFileIsTheRecording) {
  QTemporaryDir dir;
  const auto sample = testing::MakeSample();
  const PaintProc paint = testing::PaintOf(sample, kSheetW, kSheetH);
  const QString path = dir.filePath("netz.wmf");
  WritePicture(PictureFormat::Metafile, path, kSheetW, kSheetH, paint);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), MakeMetafile(kSheetW, kSheetH, paint, MetafileUse::File));
}

TEST(Metafile, ManyStateChangesKeepHandlesFew) {
  EmfCanvas canvas(50, 50);
  for (int i = 0; i < 500; ++i) {
    canvas.SetBrushSolid(Colour{static_cast<std::uint8_t>(i), 0, 0});
    canvas.SetPenColour(Colour{0, static_cast<std::uint8_t>(i), 0});
    canvas.SetFont(i % 2 ? "Verdana" : "Arial", 8);
    canvas.Ellipse(0, 0, 5, 5);
  }
  const std::vector<std::uint8_t> bytes = canvas.Finish();
  const Walked w = Walk(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.drawing.size(), 500u);
  EXPECT_LE(w.headerHandles, 8u) << "objects are deleted once replaced";
  EXPECT_THROW(canvas.Finish(), std::logic_error);
}

}  // namespace
}  // namespace didod
