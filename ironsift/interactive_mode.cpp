#include "interactive_mode.h"

#include "io_outcome.h"

namespace ironsift {

void run_interactive_mode(IronsiftState& /*state*/) {
  // Filled in with the plot modes; until then the run ends here.
  velko::stop_program(velko::kExitStopFailure);
}

}  // namespace ironsift
