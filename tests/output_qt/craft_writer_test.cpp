#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>

#include "../craft/catalogue_nets.h"
#include "../craft/nets.h"
#include "craft_readers.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "output/craft_writer.h"

namespace didod {
namespace {

using craft::CraftOptions;
using craft::CraftSheet;

using testing::kPointsPerMm;
using testing::PdfLine;
using testing::PdfPage;
using testing::ReadAll;
using testing::ReadPdf;

// Whether the line lies in the room for the net, not in the header or footer.
bool InNetRoom(const PdfLine& l, const PdfPage& page) {
  const double bottom = (craft::kPageMargin + craft::kFooterHeight) * kPointsPerMm;
  const double top = page.height - (craft::kPageMargin + craft::kHeaderHeight) * kPointsPerMm;
  return std::min(l.y1, l.y2) >= bottom - 1e-6 && std::max(l.y1, l.y2) <= top + 1e-6;
}

CraftSheet Cube(double edge, craft::Paper paper = craft::Paper::A4) {
  const Construction cube = craft::testing::CubeCross();
  CraftOptions options;
  options.edgeLength = edge;
  options.paper = paper;
  options.title = "Würfel";
  return craft::LayoutCraftSheet(cube, craft::testing::HingesOf(cube), craft::testing::CubeCrossGluings(), options);
}

bool HasScaleBar(const PdfPage& page) {
  for (const PdfLine& l : page.lines)
    if (std::fabs(l.y1 - l.y2) < 1e-6 && std::fabs(l.Length() - 100.0 * kPointsPerMm) < 0.01) return true;
  return false;
}

TEST(CraftPdf, PageSizeScaleBarAndEdgesAreTrueSize) {
  QTemporaryDir dir;
  struct Case {
    craft::Paper paper;
    double edge;
    double shortSide, longSide;  // points
  } cases[] = {{craft::Paper::A4, 40.0, 595.28, 841.89},
               {craft::Paper::A3, 60.0, 841.89, 1190.55},
               {craft::Paper::Letter, 45.0, 612.0, 792.0}};
  for (const Case& c : cases) {
    const CraftSheet sheet = Cube(c.edge, c.paper);
    const QString path = dir.filePath("cube.pdf");
    WriteCraftPdf(sheet, path.toStdString());
    const auto pages = ReadPdf(ReadAll(path));
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& page = pages[0];
    const double w = sheet.landscape ? c.longSide : c.shortSide;
    const double h = sheet.landscape ? c.shortSide : c.longSide;
    EXPECT_NEAR(page.width, w, 0.5);
    EXPECT_NEAR(page.height, h, 0.5);
    EXPECT_TRUE(HasScaleBar(page));
    // Edges of the net: hinges dashed, and the free edges solid, all the chosen length.
    int dashedEdges = 0, solidEdges = 0;
    for (const PdfLine& l : page.lines) {
      if (std::fabs(l.Length() - c.edge * kPointsPerMm) > 0.01) continue;
      (l.dashed ? dashedEdges : solidEdges)++;
    }
    EXPECT_EQ(dashedEdges, 5 + 7);  // hinges and tab roots
    EXPECT_EQ(solidEdges, 7);       // the partners of the tabbed edges
  }
}

TEST(CraftPdf, CatalogueFamiliesComeOutAtTheAskedSize) {
  struct Case {
    const char* name;
    craft::Paper paper;
    double edge;
  } cases[] = {{"Ikosaeder", craft::Paper::A4, 35.0},
               {"Ikosaederstumpf", craft::Paper::A3, 25.0},
               {"Johnson Polyeder 37", craft::Paper::Letter, 30.0},
               {"Deltoid-24-Flächner", craft::Paper::A4, 30.0}};
  QTemporaryDir dir;
  for (const Case& c : cases) {
    const auto net = craft::testing::CatalogueNet(c.name);
    ASSERT_TRUE(net) << c.name;
    const craft::SheetFolding folding = craft::testing::FoldGenerously(*net);
    ASSERT_TRUE(folding.folds) << c.name << ": " << folding.message;
    CraftOptions options;
    options.paper = c.paper;
    options.edgeLength = c.edge;
    const CraftSheet sheet = craft::LayoutCraftSheet(*net, folding.hinges, folding.gluings, options);
    const QString path = dir.filePath("net.pdf");
    WriteCraftPdf(sheet, path.toStdString());
    const auto pages = ReadPdf(ReadAll(path));
    ASSERT_EQ(pages.size(), sheet.pages.size()) << c.name;
    const craft::PaperSize paper = craft::PaperSizeOf(c.paper);
    int dashed = 0, longest = 0;
    for (const PdfPage& page : pages) {
      EXPECT_NEAR(page.width, (sheet.landscape ? paper.height : paper.width) * kPointsPerMm, 0.5) << c.name;
      EXPECT_NEAR(page.height, (sheet.landscape ? paper.width : paper.height) * kPointsPerMm, 0.5) << c.name;
      EXPECT_TRUE(HasScaleBar(page)) << c.name;
      for (const PdfLine& l : page.lines) {
        dashed += l.dashed && InNetRoom(l, page);
        longest += std::fabs(l.Length() - c.edge * kPointsPerMm) < 0.01;
      }
    }
    EXPECT_GT(longest, 0) << c.name << ": no edge of " << c.edge << " mm";
    if (pages.size() == 1)
      EXPECT_EQ(dashed, static_cast<int>(folding.hinges.size() + sheet.net.tabs.size())) << c.name;
  }
}

TEST(CraftPdf, LargeNetTakesSeveralPagesEachWithItsScaleBar) {
  QTemporaryDir dir;
  const CraftSheet sheet = Cube(150.0);
  ASSERT_GT(sheet.pages.size(), 1u);
  const QString path = dir.filePath("big.pdf");
  WriteCraftPdf(sheet, path.toStdString());
  const auto pages = ReadPdf(ReadAll(path));
  ASSERT_EQ(pages.size(), sheet.pages.size());
  double solid = 0.0;
  for (const PdfPage& page : pages) {
    EXPECT_TRUE(HasScaleBar(page));
    for (const PdfLine& l : page.lines)
      if (!l.dashed) solid += l.Length();
  }
  // More than the net's cut outline: the overlaps repeat parts of it.
  double cut = 0.0;
  for (const auto& l : sheet.net.lines)
    if (l.kind == craft::LineKind::Cut) cut += craft::Distance(l.a, l.b) * kPointsPerMm;
  EXPECT_GT(solid, cut);
}

TEST(CraftPrint, PrintsEveryPageOrTheChosenOnesAtFullSize) {
  QTemporaryDir dir;
  const CraftSheet sheet = Cube(150.0);
  ASSERT_GE(sheet.pages.size(), 3u);
  for (bool range : {false, true}) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath(range ? "range.pdf" : "all.pdf");
    printer.setOutputFileName(path);
    PrepareCraftPrinter(sheet, printer);
    if (range) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(2, 3);
    }
    PrintCraftPages(sheet, printer);
    const auto pages = ReadPdf(ReadAll(path));
    ASSERT_EQ(pages.size(), range ? 2u : sheet.pages.size());
    for (const PdfPage& page : pages) {
      EXPECT_NEAR(page.width, 595.28, 0.5);
      EXPECT_NEAR(page.height, 841.89, 0.5);
      EXPECT_TRUE(HasScaleBar(page));
    }
  }
}

TEST(CraftPdf, UnwritablePlaceGivesTheMessageAndKeepsNothing) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("no/such/folder/x.pdf").toStdString();
  EXPECT_THROW(WriteCraftPdf(Cube(40.0), path), std::runtime_error);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST(CraftSvg, CutAndFoldLinesAreSeparateGroups) {
  const CraftSheet sheet = Cube(40.0);
  QTemporaryDir dir;
  const QString path = dir.filePath("cube.svg");
  WriteCraftSvg(sheet, path.toStdString());
  const std::string text = ReadAll(path);
  QXmlStreamReader xml(QByteArray::fromStdString(text));
  std::map<std::string, int> linesIn;
  std::map<std::string, int> dashedIn;
  std::vector<std::string> groups;
  QString width;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == u"svg") width = xml.attributes().value("width").toString();
      if (xml.name() == u"g") groups.push_back(xml.attributes().value("id").toString().toStdString());
      if (xml.name() == u"line" && !groups.empty()) {
        ++linesIn[groups.back()];
        if (xml.attributes().hasAttribute("stroke-dasharray")) ++dashedIn[groups.back()];
      }
    }
    if (xml.isEndElement() && xml.name() == u"g") groups.pop_back();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(width, "210mm");
  EXPECT_EQ(linesIn["cut"], 7 + 3 * 7);  // untabbed partners and three sides of each tab
  EXPECT_EQ(dashedIn["cut"], 0);
  EXPECT_EQ(linesIn["fold"], 5 + 7);
  EXPECT_EQ(dashedIn["fold"], 5 + 7);
  EXPECT_GT(linesIn["marks"], 0);  // the scale bar
  EXPECT_NE(text.find("Würfel"), std::string::npos);
}

TEST(CraftSvg, MirroredColouredSheetKeepsLayersAndReadableNumbers) {
  const Construction cube = craft::testing::CubeCross();
  CraftOptions options;
  options.edgeLength = 40.0;
  options.faceColours = true;
  options.faceNumbers = true;
  options.printInside = true;
  options.title = "Würfel";
  auto hinges = craft::testing::HingesOf(cube);
  auto gluings = craft::testing::CubeCrossGluings();
  for (auto* list : {&hinges, &gluings})
    for (craft::EdgePair& e : *list) e.dihedral = M_PI / 2.0;
  const CraftSheet sheet = craft::LayoutCraftSheet(cube, hinges, gluings, options);
  const testing::SvgDrawing svg = testing::ReadSvg(CraftSvgText(sheet));
  ASSERT_FALSE(svg.error);
  // Six faces of one kind, filled alike under the lines, in a layer of their own.
  int fills = 0;
  std::set<std::string> colours;
  for (const testing::SvgPolygon& p : svg.polygons) {
    if (p.group != craft::kColourGroup) continue;
    ++fills;
    colours.insert(p.fill);
    EXPECT_EQ(p.corners.size(), 4u);
  }
  EXPECT_EQ(fills, 6);
  EXPECT_EQ(colours.size(), 1u);
  EXPECT_EQ(colours.count("none"), 0u);
  // Printed inside, the cube's convex edges fold towards the printed side: dash-dotted.
  int dashDotted = 0, dashed = 0;
  for (const testing::SvgLine& l : svg.lines) {
    if (l.group != craft::kFoldGroup) continue;
    dashDotted += l.dashes == 4;
    dashed += l.dashes == 2;
  }
  EXPECT_EQ(dashDotted, 5 + 7);
  EXPECT_EQ(dashed, 0);
  // Numbers and the title read as written.
  std::set<std::string> texts;
  for (const testing::SvgText& t : svg.texts) texts.insert(t.text);
  for (const char* t : {"1", "2", "3", "4", "5", "6", "Würfel", "Talfalte"}) EXPECT_EQ(texts.count(t), 1u) << t;
}

TEST(CraftSvg, LargeNetIsOneDrawingOfItsWholeSize) {
  const CraftSheet sheet = Cube(150.0);
  const std::string text = CraftSvgText(sheet);
  const craft::PaperSize size = craft::WholeSheetSize(sheet);
  EXPECT_GT(size.width, sheet.net.bounds.Width());
  EXPECT_GT(size.height, sheet.net.bounds.Height());
  EXPECT_NE(text.find("<g id=\"cut\""), std::string::npos);
  EXPECT_EQ(text.find("Seite"), std::string::npos);
}

}  // namespace
}  // namespace didod
