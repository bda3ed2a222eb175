// ironsift: screens a star's Fe I and Fe II lines and rewrites its observed
// line list and deletion log.
//
//   ironsift STAR[/REFERENCE] MODE
//
// MODE "i" screens by an equivalent-width threshold typed at the console;
// "w" and "c" let the user reject lines with the cursor in a plot of abundance
// against equivalent width or against excitation potential.
#include "program_end.h"
#include "ironsift_state.h"
#include "plot_modes.h"
#include "process_env.h"
#include "program_info.h"
#include "startup.h"
#include "threshold_screening.h"
#include "usage_text.h"

int main(int argc, char** argv) {
  velko::answer_info_request(argc, argv, "ironsift", ironsift::kUsageText);
  velko::install_termination_handlers();
  velko::set_arguments(argc, argv);
  // The tables are large and live for the whole run.
  static ironsift::IronsiftState state;
  ironsift::start_up(state);
  if (state.run_mode == 'i') ironsift::run_threshold_mode(state);
  ironsift::run_plot_mode(state);
  velko::stop_program(velko::kExitNormal);
}
