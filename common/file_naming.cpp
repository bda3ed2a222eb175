// File names, link targets and open failures.
#include "file_naming.h"

#include <cerrno>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velko {

std::string file_name_of(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] == ' ') --end;
  return std::string(name.substr(0, end));
}

namespace {

// Follows the links of a name; calls on_hop with every link text on the way.
template <typename OnHop>
std::string follow_links(const std::string& name, OnHop on_hop) {
  constexpr int kMaxLinks = 40;  // as the kernel's own limit on a chain of links
  std::string path = name;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char link[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), link, sizeof link);
    if (size <= 0 || static_cast<std::size_t>(size) >= sizeof link) return path;
    const std::string to(link, static_cast<std::size_t>(size));
    on_hop(to);
    if (to.front() == '/') {
      path = to;
    } else {
      const std::size_t slash = path.rfind('/');
      path = slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
    }
  }
  return name;
}

// N of "/proc/self/fd/N"; -1 for any other path.
int descriptor_in(std::string_view path) {
  constexpr std::string_view kPrefix = "/proc/self/fd/";
  if (path.substr(0, kPrefix.size()) != kPrefix || path.size() == kPrefix.size() ||
      path.size() > kPrefix.size() + 6)
    return -1;
  int fd = 0;
  for (const char c : path.substr(kPrefix.size())) {
    if (c < '0' || c > '9') return -1;
    fd = fd * 10 + (c - '0');
  }
  return fd;
}

}  // namespace

std::string resolved_target(const std::string& name) {
  return follow_links(name, [](const std::string&) {});
}

int own_descriptor_named(const std::string& name) {
  int fd = descriptor_in(name);
  follow_links(name, [&](const std::string& to) {
    if (fd < 0) fd = descriptor_in(to);
  });
  return fd;
}

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

IoError open_error_of(int err) {
  return (err == EACCES || err == EPERM || err == EROFS) ? IoError::PermissionDenied
                                                         : IoError::OpenFailure;
}

std::string_view kind_of_non_regular(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "is a directory";
  if (S_ISFIFO(mode)) return "is a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
  if (S_ISSOCK(mode)) return "is a socket";
  return "is not a regular file";
}

}  // namespace velko
