#pragma once
#include <unistd.h>

#include <span>
#include <string>

namespace didod {

// An open file descriptor, closed when it goes.
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

// Makes `bytes` the whole content of the file at path, or leaves the file
// exactly as it was.
//
// The bytes go to a new file beside the target, which then replaces it in one
// step (a replaced file keeps its permissions; a symbolic link keeps pointing
// at the file it names, which is the one replaced). A target that its owner
// made read-only, that this user may not write, or that is no plain file is
// not replaced. When no new file can be made beside a target that may be
// written (a folder that is not writable), the target is written in place and,
// should that fail, given back its old bytes, which are kept in memory.
//
// Throws std::runtime_error("Cannot create file <path>") when the file cannot
// be created or replaced, and ("Stream write error") when writing fails.
void WriteFileSafely(const std::string& path, std::span<const unsigned char> bytes);

}  // namespace didod
