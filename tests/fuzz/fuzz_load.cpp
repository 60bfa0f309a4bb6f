// Feeds arbitrary bytes through the whole load path. The first byte chooses
// how the rest is taken: as the bytes of a construction file, or as the text
// of one (compressed first, so that mutations reach the record reader instead
// of stopping at the stream's check value), or as a catalogue text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "persistence/catalogue.h"
#include "persistence/construction_file.h"
#include "persistence/net_record.h"
#include "persistence/zstream.h"

namespace {

constexpr didod::ViewCentre kCentre{399, 319};

void Check(bool condition) {
  if (!condition) std::abort();
}

// Whatever loads must hold the store's invariants and survive a save and a
// second load unchanged.
void CheckLoaded(const didod::Construction& c) {
  Check(c.IsConsistent());
  const std::vector<std::string> lines = didod::WriteNetRecord(c);
  const didod::Construction again =
      didod::ConstructionFromFileBytes(didod::DeflateStream(didod::JoinLines(lines)), kCentre);
  Check(didod::WriteNetRecord(again) == lines);
  Check(again.FaceCount == c.FaceCount && again.PointCount == c.PointCount && again.JoinList == c.JoinList);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0] % 3;
  const std::span<const unsigned char> rest(data + 1, size - 1);
  try {
    if (mode == 0) {
      CheckLoaded(didod::ConstructionFromFileBytes(rest, kCentre));
    } else if (mode == 1) {
      CheckLoaded(didod::ConstructionFromFileBytes(didod::DeflateStream(rest), kCentre));
    } else {
      const std::vector<std::string> lines =
          didod::SplitLines(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
      int tried = 0;
      for (const std::string& name : didod::CatalogueNames(lines)) {
        if (++tried > 8) break;
        try {
          if (auto net = didod::ReadCatalogueNet(lines, name, kCentre)) Check(net->IsConsistent());
        } catch (const std::runtime_error&) {
        }
      }
    }
  } catch (const std::runtime_error&) {
    // A refused file: the messages are what the window shows.
  }
  return 0;
}
