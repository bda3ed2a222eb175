// Warnings: one line on the standard error stream for something the program
// passes over and goes on (a record it cannot use), so that nothing is dropped
// silently. The console records written so far are flushed first so that the
// warning appears in its place among them.
#pragma once

#include <string_view>

namespace ironsift {

void warn(std::string_view message);

}  // namespace ironsift
