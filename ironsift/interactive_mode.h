// Run modes "w" and "c": the star's Fe lines in an abundance plot, rejected
// and restored with the cursor, then listed and written back on request.
#pragma once

#include "ironsift_state.h"

namespace ironsift {

// Loads the star's Fe line tables from its ".abd", shows the plot of the run
// mode (abundance against equivalent width for "w", against excitation
// potential for "c"), lists the rejected lines and asks the update question.
// Does not return: the program ends at the update, at "x", or from the plot.
void run_interactive_mode(IronsiftState& state);

}  // namespace ironsift
