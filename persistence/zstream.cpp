#include "persistence/zstream.h"

#include <zlib.h>

#include <stdexcept>

namespace didod {

std::vector<unsigned char> DeflateStream(std::span<const unsigned char> source) {
  z_stream zs{};
  if (deflateInit2(&zs, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("error");
  std::vector<unsigned char> out(deflateBound(&zs, static_cast<uLong>(source.size())));
  zs.next_in = const_cast<Bytef*>(source.data());
  zs.avail_in = static_cast<uInt>(source.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  const std::size_t produced = zs.total_out;
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("error");
  out.resize(produced);
  return out;
}

std::vector<unsigned char> DeflateStream(const std::string& source) {
  return DeflateStream(std::span<const unsigned char>(
      reinterpret_cast<const unsigned char*>(source.data()), source.size()));
}

std::string InflateStream(std::span<const unsigned char> source) {
  std::string out;
  if (source.empty()) return out;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) throw std::runtime_error("error");
  zs.next_in = const_cast<Bytef*>(source.data());
  zs.avail_in = static_cast<uInt>(source.size());
  unsigned char chunk[16384];
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    zs.next_out = chunk;
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      inflateEnd(&zs);
      throw std::runtime_error("error");  // bad header, bad data, wrong check value, or cut short
    }
    const std::size_t produced = sizeof chunk - zs.avail_out;
    if (out.size() + produced > kMaxInflatedSize) {
      inflateEnd(&zs);
      throw std::runtime_error("error");
    }
    out.append(reinterpret_cast<const char*>(chunk), produced);
    if (rc == Z_OK && zs.avail_in == 0 && produced == 0) {
      inflateEnd(&zs);
      throw std::runtime_error("error");  // the input ended before the stream did
    }
  }
  inflateEnd(&zs);
  return out;
}

}  // namespace didod
