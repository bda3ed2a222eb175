// File names and open failures.
#include "file_naming.h"

#include <cerrno>

namespace velko {

std::string file_name_of(std::string_view name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] == ' ') --end;
  return std::string(name.substr(0, end));
}

IoError open_error_of(int err) {
  return (err == EACCES || err == EPERM || err == EROFS) ? IoError::PermissionDenied
                                                         : IoError::OpenFailure;
}

}  // namespace velko
