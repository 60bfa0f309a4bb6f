#pragma once
// Our own readers of the written cut-and-fold sheets: the stroked lines of a
// PDF's pages, and the lines, texts and filled polygons of an SVG, each with
// the pen it was drawn with.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>
#include <QFile>
#include <QXmlStreamReader>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace didod::testing {

inline constexpr double kPointsPerMm = 72.0 / 25.4;

inline std::string ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

inline std::string Inflate(const std::string& data) {
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

// A stroked straight line of a PDF page in points (y up from the bottom), with
// the number of entries of its dash pattern (0 solid, 2 dashed, 4 dash-dotted),
// its width in points and its grey level (0 black, 1 white).
struct PdfLine {
  double x1, y1, x2, y2;
  bool dashed;
  int dashes = 0;
  double width = 0.0;
  double grey = 0.0;
  double Length() const { return std::hypot(x2 - x1, y2 - y1); }
};

struct PdfPage {
  double width = 0, height = 0;
  std::vector<PdfLine> lines;
};

// Reads the page sizes and every stroked line of the page contents, following
// the transformation matrices, so that lengths come out in the PDF's points.
inline std::vector<PdfPage> ReadPdf(const std::string& pdf) {
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
      int dashes = 0;
      double width = 1.0;  // in the units current when it was set, scaled below
      double widthScale = 1.0;
      double grey = 0.0;
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
      if (token == "d" && operands.size() >= 2) state.dashes = static_cast<int>(operands[operands.size() - 2]);
      if (token == "w" && !operands.empty()) {
        state.width = operands.back();
        state.widthScale = std::sqrt(std::fabs(state.m[0] * state.m[3] - state.m[1] * state.m[2]));
      }
      if ((token == "SCN" || token == "RG") && operands.size() >= 3) state.grey = operands[operands.size() - 3];
      if (token == "m" && operands.size() >= 2) map(operands[operands.size() - 2], operands.back(), px, py);
      if (token == "l" && operands.size() >= 2) {
        double x, y;
        map(operands[operands.size() - 2], operands.back(), x, y);
        pending.push_back({px, py, x, y, state.dashes > 0, state.dashes, state.width * state.widthScale, state.grey});
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

// What an SVG of a sheet holds, in millimetres from its top-left corner.
struct SvgLine {
  double x1, y1, x2, y2;
  std::string group;  // id of the innermost group
  int dashes = 0;     // entries of the dash pattern
  double width = 0.0;
};

struct SvgText {
  std::string group;
  std::string text;
};

struct SvgPolygon {
  std::string group;
  std::string fill;
  std::vector<std::pair<double, double>> corners;
};

struct SvgDrawing {
  std::string width, height;  // as written, with their unit
  std::vector<SvgLine> lines;
  std::vector<SvgText> texts;
  std::vector<SvgPolygon> polygons;
  bool error = false;
};

inline SvgDrawing ReadSvg(const std::string& text) {
  SvgDrawing drawing;
  QXmlStreamReader xml(QByteArray::fromStdString(text));
  std::vector<std::string> groups;
  auto group = [&] { return groups.empty() ? std::string() : groups.back(); };
  constexpr double kMmPerUnit = 0.1;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const auto a = xml.attributes();
      auto number = [&](const char* name) { return a.value(name).toDouble() * kMmPerUnit; };
      if (xml.name() == u"svg") {
        drawing.width = a.value("width").toString().toStdString();
        drawing.height = a.value("height").toString().toStdString();
      }
      if (xml.name() == u"g") groups.push_back(a.value("id").toString().toStdString());
      if (xml.name() == u"line") {
        SvgLine line{number("x1"), number("y1"), number("x2"), number("y2"), group(), 0, number("stroke-width")};
        if (a.hasAttribute("stroke-dasharray"))
          line.dashes = static_cast<int>(a.value("stroke-dasharray").toString().split(' ', Qt::SkipEmptyParts).size());
        drawing.lines.push_back(line);
      }
      if (xml.name() == u"text")
        drawing.texts.push_back({group(), xml.readElementText().toStdString()});
      if (xml.name() == u"polygon") {
        SvgPolygon polygon{group(), a.value("fill").toString().toStdString(), {}};
        for (const QString& pair : a.value("points").toString().split(' ', Qt::SkipEmptyParts)) {
          const auto xy = pair.split(',');
          if (xy.size() == 2) polygon.corners.push_back({xy[0].toDouble() * kMmPerUnit, xy[1].toDouble() * kMmPerUnit});
        }
        drawing.polygons.push_back(polygon);
      }
    }
    if (xml.isEndElement() && xml.name() == u"g" && !groups.empty()) groups.pop_back();
  }
  drawing.error = xml.hasError();
  return drawing;
}

}  // namespace didod::testing
