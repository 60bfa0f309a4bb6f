#include "persistence/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <vector>

namespace didod {

namespace {

constexpr const char* kStreamWriteError = "Stream write error";

bool WriteAllAt(int fd, const unsigned char* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size, offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
    offset += written;
  }
  return true;
}

bool ReadAll(int fd, std::vector<unsigned char>& out) {
  unsigned char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    out.insert(out.end(), chunk, chunk + got);
  }
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

// Creates a new, empty file beside target; returns its descriptor (or -1 with
// errno set) and its name.
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

// Whether the platform would let this user open an existing file for
// writing. The owner's write bit is checked as well, so that a file made
// read-only stays so even for a user (such as root) whom the mode does not bind.
bool MayReplace(const std::string& target, const struct stat& info) {
  return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0 && ::access(target.c_str(), W_OK) == 0;
}

void ReplaceByRename(const std::string& target, const struct stat* old, int fd, const std::string& temporary,
                     std::span<const unsigned char> bytes, const std::string& path) {
  FileDescriptor file(fd);
  if (old) {
    // A replaced file keeps its permissions and, where allowed, its owner.
    ::fchmod(file.get(), old->st_mode & 07777);
    if (::fchown(file.get(), old->st_uid, old->st_gid) != 0) {
      // Only the superuser may give a file away; others keep it as theirs.
    }
  }
  const bool written = WriteAllAt(file.get(), bytes.data(), bytes.size(), 0) && ::fsync(file.get()) == 0;
  if (!file.Close() || !written) {
    ::unlink(temporary.c_str());
    throw std::runtime_error(kStreamWriteError);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw std::runtime_error("Cannot create file " + path);
  }
}

// Rewrites a writable file whose folder takes no new file. Its old bytes are
// read first and written back when the new ones do not fit.
void ReplaceInPlace(const std::string& target, std::span<const unsigned char> bytes, const std::string& path) {
  FileDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
    throw std::runtime_error("Cannot create file " + path);
  std::vector<unsigned char> old;
  if (!ReadAll(file.get(), old)) throw std::runtime_error("Cannot create file " + path);
  const bool written = WriteAllAt(file.get(), bytes.data(), bytes.size(), 0) &&
                       ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(file.get()) == 0;
  if (written) {
    if (!file.Close()) throw std::runtime_error(kStreamWriteError);
    return;
  }
  // The old bytes fitted before, so their blocks are there to take them back.
  if (WriteAllAt(file.get(), old.data(), old.size(), 0)) {
    if (::ftruncate(file.get(), static_cast<off_t>(old.size())) == 0) ::fsync(file.get());
  }
  throw std::runtime_error(kStreamWriteError);
}

}  // namespace

void WriteFileSafely(const std::string& path, std::span<const unsigned char> bytes) {
  if (path.empty()) throw std::runtime_error("Cannot create file " + path);
  const std::string target = ResolveTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !MayReplace(target, old)) throw std::runtime_error("Cannot create file " + path);
  std::string temporary;
  const int fd = CreateTemporaryBeside(target, temporary);
  if (fd >= 0) {
    ReplaceByRename(target, exists ? &old : nullptr, fd, temporary, bytes, path);
    return;
  }
  if (exists && (errno == EACCES || errno == EPERM)) {
    ReplaceInPlace(target, bytes, path);
    return;
  }
  throw std::runtime_error("Cannot create file " + path);
}

}  // namespace didod
