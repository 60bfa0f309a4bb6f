#include "unfold/import.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <cstdint>
#include <sstream>
#include <vector>

namespace didod::unfold {

namespace {

std::string Extension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return {};
  std::string ext = name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

std::string Quoted(const std::string& name) { return "\xE2\x80\x9E" + name + "\xE2\x80\x9C"; }

std::string Count(long long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The file's first bytes as text, up to its end or the limit.
std::string Head(std::span<const unsigned char> bytes, std::size_t limit) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), std::min(bytes.size(), limit));
}

// Whether the whole word is a number (a leading "+" allowed), and which.
bool ParseNumber(std::string_view word, double& value) {
  if (word.size() > 1 && word[0] == '+') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  const auto r = std::from_chars(word.data(), end, value);
  return r.ec == std::errc() && r.ptr == end;
}

// The reader builds every element a header announces, however few the file
// holds, so counts beyond the limits or beyond what the bytes can hold (every
// element takes at least one byte) are refused before it runs.
void CheckAnnounced(long long count, bool faces, std::span<const unsigned char> bytes, const std::string& name,
                    const ImportTolerances& limits) {
  const char* what = faces ? "Fl\xC3\xA4" "che" : "Ecke";
  const char* whats = faces ? "Fl\xC3\xA4" "chen" : "Ecken";
  const long long most = faces ? limits.maxInputFaces : limits.maxInputVertices;
  if (count > most)
    throw ImportError(Quoted(name) + " ist zu gro\xC3\x9F: es k\xC3\xBCndigt " + Count(count, what, whats) +
                      " an, h\xC3\xB6" "chstens " + std::to_string(most) + " werden gelesen");
  if (count > static_cast<long long>(bytes.size()))
    throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: es k\xC3\xBCndigt " + Count(count, what, whats) +
                      " an, die nicht in der Datei stehen");
}

// OFF is read here: the library's reader drops faces of more than nine
// corners. Lines hold the keyword (OFF, or COFF, NOFF and the like, whose
// extra numbers after the coordinates and the corners are skipped), the
// counts, one vertex per line and one face per line; "#" starts a comment.
Soup ReadOff(std::span<const unsigned char> bytes, const std::string& name, const ImportTolerances& limits) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t at = 0;
  long long lineNumber = 0;
  // The numbers of the next line that holds any.
  auto nextLine = [&](std::vector<std::string_view>& words) {
    words.clear();
    while (words.empty() && at < text.size()) {
      std::size_t end = text.find('\n', at);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(at, end - at);
      at = end + 1;
      ++lineNumber;
      line = line.substr(0, line.find('#'));
      std::size_t p = 0;
      while (p < line.size()) {
        while (p < line.size() && std::isspace(static_cast<unsigned char>(line[p]))) ++p;
        std::size_t q = p;
        while (q < line.size() && !std::isspace(static_cast<unsigned char>(line[q]))) ++q;
        if (q > p) words.push_back(line.substr(p, q - p));
        p = q;
      }
    }
    return !words.empty();
  };
  auto bad = [&](const std::string& what) {
    return ImportError(Quoted(name) + " ist keine g\xC3\xBCltige OFF-Datei: " + what + " in Zeile " +
                       std::to_string(lineNumber));
  };
  auto ended = [&](const std::string& what) {
    return ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: die Datei endet vor " + what);
  };
  auto integer = [&](std::string_view w, long long& v) {
    const char* end = w.data() + w.size();
    const auto r = std::from_chars(w.data(), end, v);
    return r.ec == std::errc() && r.ptr == end;
  };
  std::vector<std::string_view> words;
  if (!nextLine(words) || words[0].size() < 3 || words[0].substr(words[0].size() - 3) != "OFF")
    throw ImportError(Quoted(name) + " ist keine OFF-Datei: sie beginnt nicht mit \xE2\x80\x9EOFF\xE2\x80\x9C");
  if (words.size() > 1 && words[1] == "BINARY")
    throw ImportError(Quoted(name) + ": bin\xC3\xA4re OFF-Dateien werden nicht gelesen");
  words.erase(words.begin());
  if (words.empty() && !nextLine(words)) throw bad("die Anzahlen fehlen");
  long long vertices = 0, faces = 0;
  if (words.size() < 2 || !integer(words[0], vertices) || !integer(words[1], faces) || vertices < 0 || faces < 0)
    throw bad("die Anzahlen fehlen");
  CheckAnnounced(vertices, false, bytes, name, limits);
  CheckAnnounced(faces, true, bytes, name, limits);
  Soup soup;
  for (long long i = 0; i < vertices; ++i) {
    if (!nextLine(words)) throw ended("Ecke " + std::to_string(i + 1));
    Vec3 p;
    if (words.size() < 3 || !ParseNumber(words[0], p.x) || !ParseNumber(words[1], p.y) || !ParseNumber(words[2], p.z))
      throw bad("keine Koordinaten");
    soup.vertices.push_back(p);
  }
  for (long long f = 0; f < faces; ++f) {
    if (!nextLine(words)) throw ended("Fl\xC3\xA4" "che " + std::to_string(f + 1));
    long long n = 0;
    if (!integer(words[0], n) || n < 0 || n + 1 > static_cast<long long>(words.size()))
      throw bad("keine Fl\xC3\xA4" "che");
    std::vector<int> face;
    for (long long k = 1; k <= n; ++k) {
      long long v = 0;
      if (!integer(words[k], v)) throw bad("keine Eckennummer");
      face.push_back(v >= 0 && v < vertices ? static_cast<int>(v) : -1);
    }
    soup.faces.push_back(std::move(face));
  }
  return soup;
}

// PLY is read here too: the library's binary reader takes a first data byte
// that looks like a line end for the end of the header line, and reads every
// number after it shifted. The header names the format (ASCII, or binary of
// either byte order) and the elements with their properties; the vertices'
// x, y and z and the faces' list of corner numbers are taken, everything else
// is skipped.
Soup ReadPly(std::span<const unsigned char> bytes, const std::string& name, const ImportTolerances& limits) {
  enum class Type { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float32, Float64 };
  struct Property {
    std::string name;
    Type type = Type::Float32;
    bool list = false;
    Type countType = Type::UInt8;
  };
  struct Element {
    std::string name;
    long long count = 0;
    std::vector<Property> properties;
  };
  auto bad = [&](const std::string& what) {
    return ImportError(Quoted(name) + " ist keine g\xC3\xBCltige PLY-Datei: " + what);
  };
  auto typeOf = [&](const std::string& t) {
    static const std::pair<const char*, Type> kTypes[] = {
        {"char", Type::Int8},     {"int8", Type::Int8},     {"uchar", Type::UInt8},    {"uint8", Type::UInt8},
        {"short", Type::Int16},   {"int16", Type::Int16},   {"ushort", Type::UInt16},  {"uint16", Type::UInt16},
        {"int", Type::Int32},     {"int32", Type::Int32},   {"uint", Type::UInt32},    {"uint32", Type::UInt32},
        {"float", Type::Float32}, {"float32", Type::Float32}, {"double", Type::Float64}, {"float64", Type::Float64}};
    for (const auto& [word, type] : kTypes)
      if (t == word) return type;
    throw bad("unbekannter Zahltyp \xE2\x80\x9E" + t.substr(0, 40) + "\xE2\x80\x9C");
  };
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t at = 0;
  auto line = [&]() -> std::string {
    if (at >= text.size()) throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: die Datei endet im Kopf");
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string l(text.substr(at, end - at));
    at = end + 1;
    if (!l.empty() && l.back() == '\r') l.pop_back();
    return l;
  };
  if (line() != "ply") throw ImportError(Quoted(name) + " ist keine PLY-Datei: sie beginnt nicht mit \xE2\x80\x9Eply\xE2\x80\x9C");
  int format = -1;  // 0 ASCII, 1 binary little-endian, 2 binary big-endian
  std::vector<Element> elements;
  for (;;) {
    std::istringstream words(line());
    std::string word;
    if (!(words >> word) || word == "comment" || word == "obj_info") continue;
    if (word == "end_header") break;
    if (word == "format") {
      std::string kind;
      words >> kind;
      format = kind == "ascii" ? 0 : kind == "binary_little_endian" ? 1 : kind == "binary_big_endian" ? 2 : -1;
      if (format < 0) throw bad("unbekanntes Format \xE2\x80\x9E" + kind.substr(0, 40) + "\xE2\x80\x9C");
    } else if (word == "element") {
      Element e;
      if (!(words >> e.name >> e.count) || e.count < 0) throw bad("ein Element ohne Anzahl");
      CheckAnnounced(e.count, e.name == "face", bytes, name, limits);
      elements.push_back(std::move(e));
    } else if (word == "property") {
      if (elements.empty()) throw bad("eine Eigenschaft vor dem ersten Element");
      Property p;
      std::string type;
      if (!(words >> type)) throw bad("eine Eigenschaft ohne Typ");
      if (type == "list") {
        std::string count, item;
        if (!(words >> count >> item)) throw bad("eine Liste ohne Typen");
        p.list = true;
        p.countType = typeOf(count);
        p.type = typeOf(item);
      } else {
        p.type = typeOf(type);
      }
      if (!(words >> p.name)) throw bad("eine Eigenschaft ohne Namen");
      elements.back().properties.push_back(std::move(p));
    } else {
      throw bad("unbekannte Kopfzeile \xE2\x80\x9E" + word.substr(0, 40) + "\xE2\x80\x9C");
    }
  }
  if (format < 0) throw bad("die Formatzeile fehlt");
  // The next number of the data, whatever the format.
  auto ended = [&](const std::string& what) {
    return ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: die Datei endet vor " + what);
  };
  std::string what;  // for the message when the data ends early
  auto number = [&](Type type) -> double {
    if (format == 0) {
      while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
      std::size_t end = at;
      while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
      if (end == at) throw ended(what);
      const std::string_view w = text.substr(at, end - at);
      at = end;
      double v = 0;
      if (!ParseNumber(w, v)) throw bad("keine Zahl vor " + what);
      return v;
    }
    static constexpr std::size_t kSize[] = {1, 1, 2, 2, 4, 4, 4, 8};
    const std::size_t size = kSize[static_cast<int>(type)];
    if (bytes.size() - std::min(at, bytes.size()) < size) throw ended(what);
    unsigned char raw[8];
    for (std::size_t i = 0; i < size; ++i) raw[i] = bytes[at + (format == 1 ? i : size - 1 - i)];
    at += size;
    auto as = [&](auto v) {
      std::memcpy(&v, raw, sizeof v);
      return static_cast<double>(v);
    };
    switch (type) {
      case Type::Int8: return as(std::int8_t{});
      case Type::UInt8: return as(std::uint8_t{});
      case Type::Int16: return as(std::int16_t{});
      case Type::UInt16: return as(std::uint16_t{});
      case Type::Int32: return as(std::int32_t{});
      case Type::UInt32: return as(std::uint32_t{});
      case Type::Float32: return as(float{});
      case Type::Float64: return as(double{});
    }
    return 0;
  };
  Soup soup;
  for (const Element& e : elements) {
    const bool isVertex = e.name == "vertex", isFace = e.name == "face";
    for (long long i = 0; i < e.count; ++i) {
      what = (isVertex ? "Ecke " : isFace ? "Fl\xC3\xA4" "che " : "Element " + e.name.substr(0, 40) + " ") +
             std::to_string(i + 1);
      Vec3 p;
      std::vector<int> face;
      for (const Property& prop : e.properties) {
        if (!prop.list) {
          const double v = number(prop.type);
          if (isVertex && prop.name == "x") p.x = v;
          if (isVertex && prop.name == "y") p.y = v;
          if (isVertex && prop.name == "z") p.z = v;
          continue;
        }
        const double n = number(prop.countType);
        // Every item takes at least one byte (or one digit).
        if (!(n >= 0) || n > static_cast<double>(bytes.size() - std::min(at, bytes.size())) || n != std::floor(n))
          throw bad("eine Liste falscher L\xC3\xA4nge vor " + what);
        const bool corners = isFace && (prop.name == "vertex_indices" || prop.name == "vertex_index");
        for (long long k = 0; k < static_cast<long long>(n); ++k) {
          const double v = number(prop.type);
          if (corners) face.push_back(v >= 0 && v < 2147483647.0 && v == std::floor(v) ? static_cast<int>(v) : -1);
        }
      }
      if (isVertex) soup.vertices.push_back(p);
      if (isFace) soup.faces.push_back(std::move(face));
    }
  }
  for (auto& face : soup.faces)
    for (int& v : face)
      if (v >= static_cast<int>(soup.vertices.size())) v = -1;
  return soup;
}

// STL is read here too: the library's ASCII reader keeps memory it never
// frees on some malformed files, and a reader of our own names the line of a
// fault. A binary STL holds 50 bytes per triangle after its 84 bytes of header
// and count; a file that has exactly that size is binary even when its header
// begins with "solid", as some exporters write it. Otherwise a file that
// begins with "solid" is ASCII: facets of "facet normal", "outer loop", three
// or more "vertex x y z", "endloop" and "endfacet", keywords in any case.
Soup ReadStl(std::span<const unsigned char> bytes, const std::string& name, const ImportTolerances& limits) {
  std::uint32_t count = 0;
  if (bytes.size() >= 84)
    for (int i = 3; i >= 0; --i) count = count << 8 | bytes[static_cast<std::size_t>(80 + i)];
  const unsigned long long binarySize = 84ULL + 50ULL * count;
  std::string head = Head(bytes, 256);
  head.erase(0, head.find_first_not_of(" \t\r\n"));
  std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::tolower(c); });
  const bool ascii = bytes.size() != binarySize && head.compare(0, 5, "solid") == 0;
  Soup soup;
  auto tooMany = [&](long long facets) {
    return ImportError(Quoted(name) + " ist zu gro\xC3\x9F: es enth\xC3\xA4lt " +
                       Count(facets, "Dreieck", "Dreiecke") + ", h\xC3\xB6" "chstens " +
                       std::to_string(limits.maxInputFaces) + " werden gelesen");
  };
  if (!ascii) {
    if (bytes.size() < 84)
      throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: eine bin\xC3\xA4re STL-Datei hat mindestens 84 Bytes");
    if (bytes.size() < binarySize)
      throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: es k\xC3\xBCndigt " +
                        Count(count, "Dreieck", "Dreiecke") + " an, enth\xC3\xA4lt aber nur " +
                        Count(static_cast<long long>((bytes.size() - 84) / 50), "ganzes", "ganze"));
    if (static_cast<long long>(count) > limits.maxInputFaces || 3LL * count > limits.maxInputVertices)
      throw tooMany(count);
    auto real = [&](std::size_t at) {
      std::uint32_t word = 0;
      for (int i = 3; i >= 0; --i) word = word << 8 | bytes[at + static_cast<std::size_t>(i)];
      float value;
      std::memcpy(&value, &word, sizeof value);
      return static_cast<double>(value);
    };
    for (std::uint32_t t = 0; t < count; ++t) {
      const std::size_t at = 84 + 50 * static_cast<std::size_t>(t) + 12;  // after the normal
      std::vector<int> face;
      for (std::size_t k = 0; k < 3; ++k) {
        face.push_back(static_cast<int>(soup.vertices.size()));
        soup.vertices.push_back({real(at + 12 * k), real(at + 12 * k + 4), real(at + 12 * k + 8)});
      }
      soup.faces.push_back(std::move(face));
    }
    return soup;
  }

  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t at = 0;
  long long lineNumber = 1;
  auto skipSpace = [&] {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) lineNumber += text[at++] == '\n';
  };
  // The next word, empty at the end of the text.
  auto word = [&] {
    skipSpace();
    const std::size_t start = at;
    while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    return text.substr(start, at - start);
  };
  auto bad = [&](const std::string& what) {
    return ImportError(Quoted(name) + " ist keine g\xC3\xBCltige STL-Datei: " + what + " in Zeile " +
                       std::to_string(lineNumber));
  };
  auto is = [](std::string_view w, std::string_view keyword) {
    return w.size() == keyword.size() && std::equal(w.begin(), w.end(), keyword.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == b;
           });
  };
  auto expect = [&](std::string_view keyword) {
    const std::string_view w = word();
    if (w.empty())
      throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: die Datei endet vor \xE2\x80\x9E" +
                        std::string(keyword) + "\xE2\x80\x9C");
    if (!is(w, keyword)) throw bad("\xE2\x80\x9E" + std::string(keyword) + "\xE2\x80\x9C erwartet");
  };
  auto number = [&]() {
    double v = 0;
    if (!ParseNumber(word(), v)) throw bad("keine Zahl");
    return v;
  };
  // The name after "solid" or "endsolid" runs to the end of its line.
  auto skipLine = [&] {
    while (at < text.size() && text[at] != '\n') ++at;
  };
  expect("solid");
  skipLine();
  long long facets = 0;
  for (std::string_view w = word(); !w.empty(); w = word()) {
    if (is(w, "endsolid")) {
      skipLine();
      // Several solids may follow one another; each adds its facets.
      if (const std::string_view next = word(); !next.empty()) {
        if (!is(next, "solid")) throw bad("\xE2\x80\x9Esolid\xE2\x80\x9C erwartet");
        skipLine();
      }
      continue;
    }
    if (!is(w, "facet")) throw bad("\xE2\x80\x9E" "facet\xE2\x80\x9C erwartet");
    if (++facets > limits.maxInputFaces) throw tooMany(facets);
    expect("normal");
    for (int k = 0; k < 3; ++k) number();
    expect("outer");
    expect("loop");
    std::vector<int> face;
    for (std::string_view v = word();; v = word()) {
      if (v.empty())
        throw ImportError(Quoted(name) + " ist unvollst\xC3\xA4ndig: die Datei endet vor \xE2\x80\x9E" "endloop\xE2\x80\x9C");
      if (is(v, "endloop")) break;
      if (!is(v, "vertex")) throw bad("\xE2\x80\x9Evertex\xE2\x80\x9C erwartet");
      if (static_cast<long long>(soup.vertices.size()) >= limits.maxInputVertices) throw tooMany(facets);
      Vec3 p;
      p.x = number();
      p.y = number();
      p.z = number();
      face.push_back(static_cast<int>(soup.vertices.size()));
      soup.vertices.push_back(p);
    }
    if (face.size() < 3) throw bad("eine Fl\xC3\xA4" "che mit weniger als drei Ecken");
    expect("endfacet");
    soup.faces.push_back(std::move(face));
  }
  return soup;
}

// Every mesh of the scene, moved by the transforms of the nodes above it.
void CollectFaces(const aiScene& scene, const aiNode& node, const aiMatrix4x4& above, Soup& soup) {
  const aiMatrix4x4 transform = above * node.mTransformation;
  for (unsigned k = 0; k < node.mNumMeshes; ++k) {
    if (node.mMeshes[k] >= scene.mNumMeshes) continue;
    const aiMesh& mesh = *scene.mMeshes[node.mMeshes[k]];
    const int base = static_cast<int>(soup.vertices.size());
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
      const aiVector3D p = transform * mesh.mVertices[i];
      soup.vertices.push_back({p.x, p.y, p.z});
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices < 3) continue;  // points and lines are no surface
      std::vector<int> corners;
      for (unsigned i = 0; i < face.mNumIndices; ++i)
        corners.push_back(face.mIndices[i] < mesh.mNumVertices ? base + static_cast<int>(face.mIndices[i]) : -1);
      soup.faces.push_back(std::move(corners));
    }
  }
  for (unsigned c = 0; c < node.mNumChildren; ++c) CollectFaces(scene, *node.mChildren[c], transform, soup);
}

}  // namespace

bool IsImportName(const std::string& name) {
  const std::string ext = Extension(name);
  return ext == "off" || ext == "obj" || ext == "stl" || ext == "ply";
}

Soup ReadSoup(std::span<const unsigned char> bytes, const std::string& name, const ImportTolerances& limits) {
  if (!IsImportName(name))
    throw ImportError(Quoted(name) + " hat kein bekanntes Format: gelesen werden OFF, OBJ, STL und PLY");
  if (bytes.empty()) throw ImportError(Quoted(name) + " ist leer");
  const std::string hint = Extension(name);
  if (hint == "off") return ReadOff(bytes, name, limits);
  if (hint == "ply") return ReadPly(bytes, name, limits);
  if (hint == "stl") return ReadStl(bytes, name, limits);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, hint.c_str());
  if (!scene || !scene->mRootNode) {
    std::string why = importer.GetErrorString();
    if (why.empty()) why = "unbekannter Fehler";
    // The reader calls the bytes by a made-up name.
    const std::string magic = "$$$___magic___$$$." + hint;
    for (std::size_t at = why.find(magic); at != std::string::npos; at = why.find(magic, at + name.size()))
      why.replace(at, magic.size(), name);
    throw ImportError(Quoted(name) + " kann nicht gelesen werden: " + why);
  }
  Soup soup;
  CollectFaces(*scene, *scene->mRootNode, aiMatrix4x4(), soup);
  return soup;
}

Polyhedron ImportSolid(std::span<const unsigned char> bytes, const std::string& name,
                       const ImportTolerances& tolerances) {
  return SolidFromSoup(ReadSoup(bytes, name, tolerances), name, tolerances);
}

}  // namespace didod::unfold
