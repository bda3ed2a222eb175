#include "working_dir_lock.h"

#include <cstring>
#include <string>

#include "diagnostics.h"
#include "file_lock.h"

namespace wavepick {

void lock_working_directory() {
  // Held until the process ends, which releases it.
  static velko::FileLock lock;
  lock = velko::FileLock::lock_path(".", false, [](const std::string&) {
    tell("another wavepick run is working in this directory; waiting for it to end");
  });
  if (!lock.held()) {
    tell(std::string("cannot lock the working directory (") + std::strerror(lock.error()) +
         "); a second run here at the same time would mix its files");
  }
}

}  // namespace wavepick
