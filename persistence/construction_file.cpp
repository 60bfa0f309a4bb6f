#include "persistence/construction_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include "persistence/net_record.h"
#include "persistence/zstream.h"

namespace didod {

namespace {

// A zlib stream never grows its data by more than a few bytes per 64 KiB
// block, so a stream that inflates within the bound fits in this many bytes;
// what lies beyond it is ignored anyway.
constexpr std::size_t kMaxReadSize = kMaxInflatedSize + kMaxInflatedSize / 64 + 1024;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting whether the close (and so the last write) succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The file a save really replaces: the end of a symbolic link, so that saving
// through a link updates the linked file instead of replacing the link.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      std::free(resolved);
      return target;
    }
  }
  return path;
}

// Creates a new, empty file beside target; returns its descriptor and name.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::random_device device;
  std::mt19937 random(device());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "." + base + "." + std::to_string(random() % 1000000u) + ".tmp";
    // The mode is filtered by the user's umask, as for any new file.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

void SaveListCompressed(const std::vector<std::string>& lines, const std::string& path) {
  const std::vector<unsigned char> bytes = DeflateStream(JoinLines(lines));
  const std::string target = ResolveTarget(path);
  std::string temporary;
  FileDescriptor file(CreateTemporaryBeside(target, temporary));
  if (file.get() < 0) throw std::runtime_error("Cannot create file " + path);
  // A replaced file keeps its permissions.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(file.get(), old.st_mode & 07777);
  const bool written = WriteAll(file.get(), bytes.data(), bytes.size()) && ::fsync(file.get()) == 0;
  if (!file.Close() || !written) {
    ::unlink(temporary.c_str());
    throw std::runtime_error("Stream write error");
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw std::runtime_error("Cannot create file " + path);
  }
}

namespace {

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
