#include "warnings.h"

#include "report.h"

namespace ironsift {

void warn(std::string_view message) { velko::warn(message); }

}  // namespace ironsift
