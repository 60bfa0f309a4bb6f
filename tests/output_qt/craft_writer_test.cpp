#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <regex>
#include <sstream>

#include "../craft/catalogue_nets.h"
#include "../craft/nets.h"
#include "craft/sheet.h"
#include "craft/sheet_painter.h"
#include "output/craft_writer.h"

namespace didod {
namespace {

using craft::CraftOptions;
using craft::CraftSheet;

constexpr double kPointsPerMm = 72.0 / 25.4;

std::string ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string Inflate(const std::string& data) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  std::string out;
  char buffer[65536];
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END ? out : std::string();
}

// A stroked straight line of a PDF page in points, and whether it was dashed.
struct PdfLine {
  double x1, y1, x2, y2;
  bool dashed;
  double Length() const { return std::hypot(x2 - x1, y2 - y1); }
};

struct PdfPage {
  double width = 0, height = 0;
  std::vector<PdfLine> lines;
};

// Reads the page sizes and every stroked line of the page contents, following
// the transformation matrices, so that lengths come out in the PDF's points.
std::vector<PdfPage> ReadPdf(const std::string& pdf) {
  std::vector<PdfPage> pages;
  const std::regex media(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), media); it != std::sregex_iterator(); ++it)
    pages.push_back({std::stod((*it)[1]), std::stod((*it)[2]), {}});
  // Content streams come in page order; skip streams that are no page's content (fonts).
  size_t page = 0;
  size_t at = 0;
  while ((at = pdf.find("stream\n", at)) != std::string::npos) {
    const size_t start = at + 7;
    const size_t end = pdf.find("endstream", start);
    if (end == std::string::npos) break;
    at = end + 9;  // past "endstream"
    const std::string content = Inflate(pdf.substr(start, end - start));
    if (content.find(" cm") == std::string::npos || page >= pages.size()) continue;
    struct State {
      double m[6] = {1, 0, 0, 1, 0, 0};
      bool dashed = false;
    } state;
    std::vector<State> stack;
    std::vector<double> operands;
    double px = 0, py = 0;
    std::vector<PdfLine> pending;
    std::istringstream in(content);
    std::string token;
    bool inArray = false;
    int arrayCount = 0;
    auto map = [&](double x, double y, double& ox, double& oy) {
      ox = state.m[0] * x + state.m[2] * y + state.m[4];
      oy = state.m[1] * x + state.m[3] * y + state.m[5];
    };
    while (in >> token) {
      if (token.front() == '[') {
        inArray = true;
        arrayCount = 0;
        token = token.substr(1);
        if (token.empty()) continue;
      }
      if (inArray) {
        const size_t close = token.find(']');
        if (close != std::string::npos) {
          if (close > 0) ++arrayCount;
          inArray = false;
          operands.push_back(arrayCount);
          token = token.substr(close + 1);
          if (token.empty()) continue;
        } else {
          ++arrayCount;
          continue;
        }
      }
      char* endp = nullptr;
      const double v = std::strtod(token.c_str(), &endp);
      if (endp && *endp == '\0' && !token.empty()) {
        operands.push_back(v);
        continue;
      }
      if (token == "q") stack.push_back(state);
      if (token == "Q" && !stack.empty()) state = stack.back(), stack.pop_back();
      if (token == "cm" && operands.size() >= 6) {
        const double* a = &operands[operands.size() - 6];
        const double* b = state.m;
        const double r[6] = {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3],
                             a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3],
                             a[4] * b[0] + a[5] * b[2] + b[4], a[4] * b[1] + a[5] * b[3] + b[5]};
        std::copy(r, r + 6, state.m);
      }
      if (token == "d" && operands.size() >= 2) state.dashed = operands[operands.size() - 2] > 0;
      if (token == "m" && operands.size() >= 2) map(operands[operands.size() - 2], operands.back(), px, py);
      if (token == "l" && operands.size() >= 2) {
        double x, y;
        map(operands[operands.size() - 2], operands.back(), x, y);
        pending.push_back({px, py, x, y, state.dashed});
        px = x, py = y;
      }
      if (token == "S") {
        pages[page].lines.insert(pages[page].lines.end(), pending.begin(), pending.end());
        pending.clear();
      }
      if (token == "n" || token == "f" || token == "h") pending.clear();
      operands.clear();
    }
    ++page;
  }
  return pages;
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
        dashed += l.dashed;
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
