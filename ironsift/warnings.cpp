#include "warnings.h"

#include <cstdio>
#include <string>

namespace ironsift {

void warn(std::string_view message) { note("Warning: " + std::string(message)); }

void note(std::string_view line) {
  std::fflush(stdout);
  const std::string text = std::string(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace ironsift
