// wavepick's own messages on standard error: what went wrong beyond what the
// console records say, each line led by "wavepick: ".
#pragma once

#include <string_view>

namespace wavepick {

// One message line on standard error.
void tell(std::string_view message);

// One message line on standard error, then a stop that reports a failure
// (status 1).
[[noreturn]] void fail(std::string_view message);

}  // namespace wavepick
