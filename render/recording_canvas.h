#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace didod {

// A canvas that lists the calls made on it, one line each, for tests and for
// checking what a drawing consists of.
class RecordingCanvas : public Canvas {
 public:
  std::vector<std::string> calls;

  void SetPenColour(Colour c) override { calls.push_back("pen " + Hex(c)); }
  void SetPenStyle(PenStyle s) override {
    calls.push_back(s == PenStyle::Solid     ? "penstyle solid"
                    : s == PenStyle::Dash    ? "penstyle dash"
                    : s == PenStyle::DashDot ? "penstyle dashdot"
                                             : "penstyle none");
  }
  void SetPenWidth(double w) override { calls.push_back("penwidth " + Num(w)); }
  void Line(double x1, double y1, double x2, double y2) override {
    calls.push_back("line " + Num(x1) + "," + Num(y1) + " " + Num(x2) + "," + Num(y2));
  }
  void BeginGroup(const std::string& name) override { calls.push_back("group " + name); }
  void EndGroup() override { calls.push_back("endgroup"); }
  void SetBrushSolid(Colour c) override { calls.push_back("brush " + Hex(c)); }
  void SetBrushClear() override { calls.push_back("brush clear"); }
  void SetFont(const std::string& family, int points) override {
    calls.push_back("font " + family + " " + std::to_string(points));
  }
  void Polygon(const std::vector<PixelPoint>& corners) override {
    std::string line = "polygon";
    for (const PixelPoint& p : corners) line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    calls.push_back(line);
  }
  void Ellipse(int l, int t, int r, int b) override { calls.push_back("ellipse " + Rect(l, t, r, b)); }
  void Rectangle(int l, int t, int r, int b) override { calls.push_back("rectangle " + Rect(l, t, r, b)); }
  void TextOut(int x, int y, const std::string& text) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
  }

 private:
  static std::string Hex(Colour c) {
    static const char* digits = "0123456789ABCDEF";
    std::string s = "#";
    for (int v : {c.r, c.g, c.b}) {
      s += digits[v >> 4];
      s += digits[v & 15];
    }
    return s;
  }
  // Text that reads back as the same double.
  static std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
  }
  static std::string Rect(int l, int t, int r, int b) {
    return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b);
  }
};

}  // namespace didod
