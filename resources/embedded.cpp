#include "resources/embedded.h"

#include <algorithm>
#include <cctype>

namespace didod {

struct EmbeddedResource {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

// Defined in the file that the build generates from the resource list.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

static bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name) {
  for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
    if (EqualsIgnoringCase(kEmbeddedResources[i].name, name))
      return std::span<const unsigned char>(kEmbeddedResources[i].data, kEmbeddedResources[i].size);
  }
  return std::nullopt;
}

}  // namespace didod
