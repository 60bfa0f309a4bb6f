#pragma once
// Real file systems for the tests of failing writes: a small tmpfs that the
// test mounts itself (only as root) and fills to the last byte, and a helper
// that runs a piece of code as an unprivileged user, so that folder modes bind
// it as they bind a normal user.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace didod::testing {

// A tmpfs of `kilobytes` mounted on a fresh folder under /tmp; empty path()
// when it could not be made (why() says why), so the test can skip.
inline std::vector<std::string> EntriesOf(const std::string& folder);

class SmallFilesystem {
 public:
  explicit SmallFilesystem(int kilobytes = 64) {
    if (::geteuid() != 0) {
      why_ = "mounting a small tmpfs needs root";
      return;
    }
    char name[] = "/tmp/didod-full-XXXXXX";
    if (!::mkdtemp(name)) {
      why_ = "no folder for the mount";
      return;
    }
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    if (::mount("tmpfs", name, "tmpfs", 0, options.c_str()) != 0) {
      why_ = "mount of a tmpfs refused (errno " + std::to_string(errno) + ")";
      ::rmdir(name);
      return;
    }
    path_ = name;
  }
  ~SmallFilesystem() {
    if (path_.empty()) return;
    ::umount2(path_.c_str(), MNT_DETACH);
    ::rmdir(path_.c_str());
  }
  SmallFilesystem(const SmallFilesystem&) = delete;
  SmallFilesystem& operator=(const SmallFilesystem&) = delete;

  const std::string& path() const { return path_; }
  const std::string& why() const { return why_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

  // Writes a filler file until the file system has no byte left. Returns the
  // bytes it took.
  long long Fill() const {
    const int fd = ::open(File("fueller").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return 0;
    std::vector<char> block(4096, 'x');
    long long total = 0;
    for (std::size_t size = block.size(); size > 0; size /= 2) {
      for (;;) {
        const ssize_t n = ::write(fd, block.data(), size);
        if (n <= 0) break;
        total += n;
      }
    }
    ::close(fd);
    return total;
  }

  // The names in the folder besides the filler, sorted.
  std::vector<std::string> Entries() const { return EntriesOf(path_); }

 private:
  std::string path_;
  std::string why_;
};

inline std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != "fueller") names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Runs `body` with the folder modes of a normal user: as root in a child
// process that has become "nobody" (uid and gid 65534), otherwise right here.
// Returns what `body` returned (0 to 125); a child that died gives 126.
inline int RunAsNormalUser(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t child = ::fork();
  if (child < 0) return 126;
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(126);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 126;
  return WEXITSTATUS(status);
}

}  // namespace didod::testing
