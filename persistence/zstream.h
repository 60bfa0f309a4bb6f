#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace didod {

// Largest text a stream may inflate to. A full construction is well under
// 100 KB of text; anything far larger is a damaged or hostile file.
inline constexpr std::size_t kMaxInflatedSize = 16u * 1024u * 1024u;

// Compresses all of source as one zlib stream at level 9 (window 15 bits,
// memory level 8, default strategy), so the result begins 0x78 0xDA.
std::vector<unsigned char> DeflateStream(std::span<const unsigned char> source);
std::vector<unsigned char> DeflateStream(const std::string& source);

// Inflates one zlib stream from the start of source; bytes after the end of the
// stream are ignored, and an empty source gives an empty result. A stream that
// is damaged, cut short or larger than kMaxInflatedSize throws
// std::runtime_error("error").
std::string InflateStream(std::span<const unsigned char> source);

}  // namespace didod
