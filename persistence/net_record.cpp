#include "persistence/net_record.h"

#include <algorithm>
#include <stdexcept>

#include "persistence/number_format.h"

namespace didod {

namespace {

// Calls visit(line) for every line of text.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    visit(text.substr(begin, end - begin));
    if (end < text.size()) {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      end += crlf ? 2 : 1;
    }
    begin = end;
  }
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::size_t CountLines(std::string_view text) {
  std::size_t count = 0;
  ForEachLine(text, [&](std::string_view) { ++count; });
  return count;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> WriteNetRecord(const Construction& c) {
  // Never read past the arrays, whatever the counts say.
  const int faces = std::clamp(c.FaceCount, 0, static_cast<int>(c.FaceSizes.size()) - 1);
  const int points = std::clamp(c.PointCount, 0,
                                static_cast<int>(std::min(c.NetPoints.size(), c.ScreenPoints.size())) - 1);
  std::vector<std::string> lines;
  lines.reserve(2 + faces + 3 * points + c.JoinList.size());
  lines.push_back(std::to_string(faces));
  for (int f = 1; f <= faces; ++f) lines.push_back(std::to_string(c.FaceSizes[f]));
  lines.push_back(std::to_string(points));
  for (int i = 1; i <= points; ++i) {
    lines.push_back(FormatNetCoordinate(c.NetPoints[i].x));
    lines.push_back(FormatNetCoordinate(c.NetPoints[i].y));
    lines.push_back(c.ScreenPoints[i].Fixed ? "1" : "0");
  }
  lines.insert(lines.end(), c.JoinList.begin(), c.JoinList.end());
  return lines;
}

Construction ReadNetRecord(const std::vector<std::string>& lines, std::size_t start,
                           bool endAtBracket, ViewCentre centre) {
  auto line = [&](std::size_t k) -> const std::string& {
    if (k >= lines.size())
      throw std::runtime_error("List index out of bounds (" + std::to_string(k) + ")");
    return lines[k];
  };
  auto invalid = [] { return std::runtime_error(kInvalidConstructionMessage); };

  Construction c;
  std::size_t k = start;
  const int32_t faceCount = ParseLineInteger(line(k));
  if (faceCount < 0 || faceCount > kMaxFaces) throw invalid();
  long long total = 0;
  for (int f = 1; f <= faceCount; ++f) {
    const int32_t size = ParseLineInteger(line(++k));
    if (size < 0 || size > kMaxCorners) throw invalid();
    c.FaceSizes[f] = size;
    total += size;
  }
  const int32_t pointCount = ParseLineInteger(line(++k));
  if (pointCount < 0 || pointCount > kMaxPoints || total != pointCount) throw invalid();
  for (int i = 1; i <= pointCount; ++i) {
    c.NetPoints[i].x = ParseLineReal(line(k + 1));
    c.NetPoints[i].y = ParseLineReal(line(k + 2));
    c.ScreenPoints[i].Fixed = line(k + 3) == "1";
    k += 3;
  }
  for (++k; k < lines.size(); ++k) {
    if (endAtBracket && !lines[k].empty() && lines[k][0] == '[') break;
    c.JoinList.push_back(lines[k]);
  }
  c.FaceCount = faceCount;
  c.PointCount = pointCount;
  c.RecomputeScreenPoints(centre);
  return c;
}

}  // namespace didod
