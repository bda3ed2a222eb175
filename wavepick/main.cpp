// wavepick: picks the lines of one species in a wavelength range whose
// equivalent width, computed by the suite's program "width" on a model
// atmosphere, reaches a minimum.
//
//   wavepick w1 w2 cod fnmodel xi abund ewmin fnoutput
#include "program_end.h"
#include "line_set.h"
#include "model_set.h"
#include "process_env.h"
#include "program_info.h"
#include "report_hint.h"
#include "run_parameters.h"
#include "usage_text.h"
#include "width_run.h"
#include "working_dir_lock.h"

int main(int argc, char** argv) {
  velko::answer_info_request(argc, argv, "wavepick", wavepick::kUsageText);
  velko::install_termination_handlers();
  velko::set_arguments(argc, argv);
  wavepick::install_report_hints();
  wavepick::show_usage_without_arguments(argc);
  const wavepick::RunParameters parameters = wavepick::decode_run_parameters();
  wavepick::echo_run_parameters(parameters);
  // Held to the end: every stage works with fixed file names in this directory.
  wavepick::lock_working_directory();
  {
    // A wrong VELKO shows first as a gf file that cannot be opened.
    const wavepick::ReportHint hint(wavepick::velko_not_set_hint());
    wavepick::LINESET(parameters);
  }
  wavepick::MODELSET(parameters);
  wavepick::RUNWIDTH(parameters);
  velko::stop_program(velko::kExitNormal);
}
