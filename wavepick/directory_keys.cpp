#include "directory_keys.h"

#include <array>

#include "console.h"
#include "program_end.h"
#include "lablen.h"
#include "process_env.h"
#include "texts.h"

namespace wavepick {
namespace {

struct DirectoryKey {
  std::string_view key;
  std::string_view suffix;
};

// Compared in this order; paths join with "/" on this platform.
constexpr std::array<DirectoryKey, 6> kDirectoryKeys = {{
    {"VELKO", ""},
    {"VLK_DIR", "/exefiles"},
    {"MOD_DIR", "/k2models"},
    {"KGF_DIR", "/kbgfdos"},
    {"SFX_DIR", "/sflxkpno"},
    {"DAT_DIR", "/miscdata"},
}};

}  // namespace

std::string RETENV(std::string_view key) {
  const std::string home_text = velko::environment_text("VELKO", kDirectoryPathLength);
  const std::string_view home = velko::trimmed(home_text);
  const std::string key_text = velko::fixed_text(key, kDirectoryKeyLength);
  const std::string_view wanted = velko::trimmed(key_text);
  for (const DirectoryKey& entry : kDirectoryKeys) {
    if (entry.key == wanted) {
      std::string path(home);
      path += entry.suffix;
      return velko::fixed_text(path, kDirectoryPathLength);
    }
  }
  velko::console::write_list({texts::kUnknownKey, wanted});
  velko::stop_program(velko::kExitStopFailure);
}

bool velko_is_set() {
  return !velko::trimmed(velko::environment_text("VELKO", kDirectoryPathLength)).empty();
}

int IFNUM(std::string_view text) {
  if (text.empty()) return 0;
  const char c = text.front();
  return (c >= '0' && c <= '9') ? 1 : 0;
}

}  // namespace wavepick
