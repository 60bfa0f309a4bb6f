#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace didod {

// Bytes linked into the program at build time, each a zlib stream, found by a
// name that ignores letter case (as resource names do on the original platform).
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name);

}  // namespace didod
