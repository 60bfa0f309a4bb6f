#include "output/craft_svg_canvas.h"

#include <cstdio>

namespace didod {

namespace {

std::string Num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  std::string s = buffer;
  // snprintf follows the process locale, which Qt sets from the environment.
  for (char& ch : s)
    if (ch == ',') ch = '.';
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string Hex(Colour c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
  return buffer;
}

std::string Escape(const std::string& text) {
  std::string s;
  for (char ch : text) {
    switch (ch) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      default: s += ch;
    }
  }
  return s;
}

// Layer names as a drawing program shows them.
std::string LayerLabel(const std::string& name) {
  if (name == "cut") return "Schnittlinien";
  if (name == "fold") return "Falzlinien";
  if (name == "marks") return "Beschriftung";
  if (name == "colour") return "Flächenfarben";
  return name;
}

}  // namespace

SvgCanvas::SvgCanvas(double widthMm, double heightMm) {
  out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
       << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
          "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" width=\""
       << Num(widthMm) << "mm\" height=\"" << Num(heightMm) << "mm\" viewBox=\"0 0 " << Num(widthMm * 10.0) << ' '
       << Num(heightMm * 10.0) << "\">\n";
}

std::string SvgCanvas::Finish() {
  while (depth_ > 0) EndGroup();
  out_ << "</svg>\n";
  return out_.str();
}

std::string SvgCanvas::Stroke() const {
  if (style_ == PenStyle::None) return " stroke=\"none\"";
  const double width = width_ > 0.0 ? width_ : 1.0;
  std::string s = " stroke=\"" + Hex(pen_) + "\" stroke-width=\"" + Num(width) + "\"";
  if (style_ == PenStyle::Dash) s += " stroke-dasharray=\"" + Num(8.0 * width) + " " + Num(4.0 * width) + "\"";
  if (style_ == PenStyle::DashDot)
    s += " stroke-dasharray=\"" + Num(8.0 * width) + " " + Num(3.0 * width) + " " + Num(2.0 * width) + " " +
         Num(3.0 * width) + "\"";
  return s;
}

std::string SvgCanvas::Fill() const { return filled_ ? " fill=\"" + Hex(brush_) + "\"" : " fill=\"none\""; }

void SvgCanvas::Polygon(const std::vector<PixelPoint>& corners) {
  out_ << "<polygon points=\"";
  for (size_t i = 0; i < corners.size(); ++i) out_ << (i ? " " : "") << corners[i].x << ',' << corners[i].y;
  out_ << '"' << Fill() << Stroke() << "/>\n";
}

void SvgCanvas::Ellipse(int left, int top, int right, int bottom) {
  out_ << "<ellipse cx=\"" << Num((left + right) / 2.0) << "\" cy=\"" << Num((top + bottom) / 2.0) << "\" rx=\""
       << Num((right - left) / 2.0) << "\" ry=\"" << Num((bottom - top) / 2.0) << '"' << Fill() << Stroke() << "/>\n";
}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom) {
  out_ << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << right - left << "\" height=\"" << bottom - top
       << '"' << Fill() << Stroke() << "/>\n";
}

void SvgCanvas::TextOut(int x, int y, const std::string& text) {
  // Placed by its top-left corner: the baseline lies about 0.8 of the height lower.
  out_ << "<text x=\"" << x << "\" y=\"" << Num(y + 0.8 * fontHeight_) << "\" font-family=\"" << Escape(family_)
       << "\" font-size=\"" << fontHeight_ << "\" fill=\"" << Hex(pen_) << "\">" << Escape(text) << "</text>\n";
}

void SvgCanvas::Line(double x1, double y1, double x2, double y2) {
  out_ << "<line x1=\"" << Num(x1) << "\" y1=\"" << Num(y1) << "\" x2=\"" << Num(x2) << "\" y2=\"" << Num(y2) << '"'
       << Stroke() << " stroke-linecap=\"" << (style_ == PenStyle::Solid ? "round" : "butt") << "\"/>\n";
}

void SvgCanvas::BeginGroup(const std::string& name) {
  out_ << "<g id=\"" << Escape(name) << "\" inkscape:groupmode=\"layer\" inkscape:label=\""
       << Escape(LayerLabel(name)) << "\">\n";
  ++depth_;
}

void SvgCanvas::EndGroup() {
  if (depth_ == 0) return;
  out_ << "</g>\n";
  --depth_;
}

}  // namespace didod
