#include "solids/net.h"

#include <cstdint>

#include "unfold/net_construction.h"

namespace didod::solids {

std::uint32_t NetSeed(const std::string& name) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : name) { h ^= c; h *= 16777619u; }
  return h;
}

std::optional<Construction> SolidNetConstruction(const Polyhedron& solid, const std::string& name, int sheetWidth,
                                                 int sheetHeight, ViewCentre centre,
                                                 const unfold::Deadline& deadline) {
  const unfold::SheetBox box = unfold::SheetBoxFor(sheetWidth, sheetHeight);
  // Faces lying edge to edge by chance would look joined to the net check.
  unfold::Net net = unfold::Unfold(solid, box, NetSeed(name), nullptr, deadline, true);
  unfold::FitNet(net, box);
  return unfold::NetConstruction(net, centre);
}

}  // namespace didod::solids
