#include "persistence/catalogue.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "persistence/net_record.h"
#include "persistence/zstream.h"
#include "resources/embedded.h"

namespace didod {

namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePoint(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return kHighControls[c - 0x80];
  return c;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Letter case folded within Windows-1252: ASCII, the Latin-1 letters and the
// few letters of 0x80..0x9F.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
  }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(static_cast<unsigned char>(x)) == FoldCase(static_cast<unsigned char>(y));
         });
}

bool BeginsWithBracket(const std::string& line) { return !line.empty() && line[0] == '['; }

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const char32_t cp = CodePoint(static_cast<unsigned char>(c));
    AppendUtf8(out, cp == 0 && c != '\0' ? U'\uFFFD' : cp);
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    char32_t cp = 0;
    std::size_t length = 0;
    if (lead < 0x80) cp = lead, length = 1;
    else if ((lead & 0xE0) == 0xC0) cp = lead & 0x1F, length = 2;
    else if ((lead & 0xF0) == 0xE0) cp = lead & 0x0F, length = 3;
    else if ((lead & 0xF8) == 0xF0) cp = lead & 0x07, length = 4;
    else return std::nullopt;
    if (i + length > text.size()) return std::nullopt;
    for (std::size_t j = 1; j < length; ++j) {
      const unsigned char next = static_cast<unsigned char>(text[i + j]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3F);
    }
    i += length;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    const auto found = std::find(kHighControls.begin(), kHighControls.end(), cp);
    if (cp == 0 || found == kHighControls.end()) return std::nullopt;
    out += static_cast<char>(0x80 + (found - kHighControls.begin()));
  }
  return out;
}

void LoadListFromResource(std::vector<std::string>& lines, std::string_view name) {
  const auto resource = FindEmbeddedResource(name);
  if (!resource) throw std::runtime_error("Resource " + std::string(name) + " not found");
  lines = SplitLines(InflateStream(*resource));
}

std::vector<std::string> CatalogueNames(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (BeginsWithBracket(line)) break;
    names.push_back(Windows1252ToUtf8(line));
  }
  return names;
}

std::optional<Construction> ReadCatalogueNet(const std::vector<std::string>& lines,
                                             std::string_view name, ViewCentre centre) {
  const std::optional<std::string> wanted = Utf8ToWindows1252(name);
  if (!wanted) return std::nullopt;
  // Only names of the list count, so typed text such as "#" cannot reach the terminator.
  bool listed = false;
  for (const std::string& line : lines) {
    if (BeginsWithBracket(line)) break;
    if (EqualIgnoringCase(line, *wanted)) {
      listed = true;
      break;
    }
  }
  if (!listed) return std::nullopt;
  const std::string key = "[" + *wanted;
  for (std::size_t h = 0; h < lines.size(); ++h) {
    if (EqualIgnoringCase(lines[h], key)) return ReadNetRecord(lines, h + 1, true, centre);
  }
  return std::nullopt;
}

}  // namespace didod
