#include "warnings.h"

#include "report.h"

namespace ironsift {

void warn(std::string_view message) { velko::warn(message); }

void note(std::string_view line) {
  std::fflush(stdout);
  const std::string text = std::string(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace ironsift
