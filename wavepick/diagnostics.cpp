#include "diagnostics.h"

#include <cstdio>
#include <string>

#include "outcome.h"
#include "program_end.h"
#include "texts.h"

namespace wavepick {

void tell(std::string_view message) {
  // Console records written so far come first when both streams go to one place.
  std::fflush(stdout);
  std::string line(texts::kDiagnosticPrefix);
  line += message;
  line += '\n';
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void fail(std::string_view message) {
  tell(message);
  velko::stop_program(velko::kExitStopFailure);
}

}  // namespace wavepick
