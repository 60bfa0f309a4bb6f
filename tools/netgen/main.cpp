// Writes the catalogue of ready-made nets and prints a summary of its nets.
// Usage: didod_netgen OUTPUT.txt
#include <cstdio>
#include <exception>
#include <fstream>

#include "tools/netgen/catalogue.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.txt\n", argv[0]);
    return 2;
  }
  try {
    const auto nets = didod::netgen::GenerateAll();
    const std::string text = didod::netgen::CatalogueText(nets);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", argv[1]);
      return 1;
    }
    std::printf("| name | faces | points | edge | fill |\n|---|---|---|---|---|\n");
    int faces = 0, points = 0;
    for (const auto& g : nets) {
      int p = 0;
      for (const auto& f : g.net.faces) p += static_cast<int>(f.corners.size());
      faces += static_cast<int>(g.net.faces.size());
      points += p;
      std::printf("| %s | %zu | %d | %.4f | %.1f %% |\n", g.name.c_str(), g.net.faces.size(), p, g.shortestEdge,
                  100 * g.fill);
    }
    std::printf("| all | %d | %d | | |\n", faces, points);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
