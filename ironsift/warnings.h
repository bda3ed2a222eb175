// Warnings: one line on the standard error stream for something the program
// passes over and goes on (a record it cannot use), so that nothing is dropped
// silently. The console records written so far are flushed first so that the
// warning appears in its place among them.
#pragma once

#include <string_view>

namespace ironsift {

// "Warning: <message>".
void warn(std::string_view message);

// The line as it stands, for what is not a warning: what a click in the plot
// did, what the buttons do, why the run cannot go on.
void note(std::string_view line);

}  // namespace ironsift
