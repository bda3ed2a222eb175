#include "warnings.h"

#include <cstdio>
#include <string>

namespace ironsift {

void warn(std::string_view message) {
  std::fflush(stdout);
  const std::string line = "Warning: " + std::string(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace ironsift
