#include "persistence/construction_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "persistence/net_record.h"
#include "persistence/safe_file.h"
#include "persistence/zstream.h"

namespace didod {

namespace {

// A zlib stream never grows its data by more than a few bytes per 64 KiB
// block, so a stream that inflates within the bound fits in this many bytes;
// what lies beyond it is ignored anyway.
constexpr std::size_t kMaxReadSize = kMaxInflatedSize + kMaxInflatedSize / 64 + 1024;

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  // Not blocking, so that a named pipe chosen by mistake cannot hang the window;
  // only plain files are read.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
    throw std::runtime_error("Cannot open file " + path);
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  while (bytes.size() < kMaxReadSize) {
    const ssize_t got = ::read(file.get(), chunk, std::min(sizeof chunk, kMaxReadSize - bytes.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("Cannot open file " + path);
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

std::string InflateFileBytes(std::span<const unsigned char> bytes) {
  std::string text = InflateStream(bytes);
  if (CountLines(text) > kMaxFileLines) throw std::runtime_error(kInvalidConstructionMessage);
  return text;
}

}  // namespace

void SaveListCompressed(const std::vector<std::string>& lines, const std::string& path) {
  WriteFileSafely(path, DeflateStream(JoinLines(lines)));
}

void LoadListCompressed(std::vector<std::string>& lines, const std::string& path) {
  const std::vector<unsigned char> bytes = ReadFileBytes(path);
  lines = SplitLines(InflateStream(bytes));
}

void SaveConstructionFile(const Construction& construction, const std::string& path) {
  SaveListCompressed(WriteNetRecord(construction), path);
}

Construction ConstructionFromFileBytes(std::span<const unsigned char> bytes, ViewCentre centre) {
  const std::vector<std::string> lines = SplitLines(InflateFileBytes(bytes));
  return ReadNetRecord(lines, 0, false, centre);
}

Construction LoadConstructionFile(const std::string& path, ViewCentre centre) {
  return ConstructionFromFileBytes(ReadFileBytes(path), centre);
}

}  // namespace didod
