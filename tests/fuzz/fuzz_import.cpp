// Feeds arbitrary bytes through the import of 3-D files. The first byte
// chooses the format the rest is read as (OFF, OBJ, STL or PLY). Whatever is
// accepted must be a closed solid within the store's capacities, every face
// a plane simple polygon of at least three corners.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "model/construction.h"
#include "unfold/import.h"
#include "unfold/mesh.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kNames[] = {"k.off", "k.obj", "k.stl", "k.ply"};
  const std::string name = kNames[data[0] % 4];
  try {
    const didod::unfold::Polyhedron p = didod::unfold::ImportSolid(std::span(data + 1, size - 1), name);
    Check(!p.faces.empty() && static_cast<int>(p.faces.size()) <= didod::kMaxFaces);
    int corners = 0;
    for (const auto& f : p.faces) {
      Check(f.size() >= 3);
      corners += static_cast<int>(f.size());
      for (int v : f) Check(v >= 0 && v < static_cast<int>(p.vertices.size()));
    }
    Check(corners <= didod::kMaxPoints);
    Check(didod::unfold::IsClosed(p));
  } catch (const didod::unfold::ImportError&) {
  }
  return 0;
}
