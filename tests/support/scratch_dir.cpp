#include "scratch_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace test_support {

ScratchDir::ScratchDir(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch directory " + pattern + ": mkdtemp failed");
  }
  if (::chmod(pattern.c_str(), 0777) != 0) {
    ::rmdir(pattern.c_str());
    throw std::runtime_error("cannot open the scratch directory " + pattern + " to every user");
  }
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  // Each directory gets its permissions back before the walk enters it.
  ::chmod(path_.c_str(), 0777);
  for (auto entry = std::filesystem::recursive_directory_iterator(path_, ignored);
       entry != std::filesystem::recursive_directory_iterator(); entry.increment(ignored)) {
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored)) {
      ::chmod(entry->path().c_str(), 0777);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support
