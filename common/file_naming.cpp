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

std::string resolved_target(const std::string& name) {
  constexpr int kMaxLinks = 40;  // as the kernel's own limit on a chain of links
  std::string path = name;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char link[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), link, sizeof link);
    if (size <= 0 || static_cast<std::size_t>(size) >= sizeof link) return path;
    const std::string to(link, static_cast<std::size_t>(size));
    if (to.front() == '/') {
      path = to;
    } else {
      const std::size_t slash = path.rfind('/');
      path = slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
    }
  }
  return name;
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
