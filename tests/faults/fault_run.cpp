#include "fault_run.h"

namespace faults {

std::string ironsift_path() { return IRONSIFT_PATH; }
std::string wavepick_path() { return WAVEPICK_PATH; }
std::string update_driver_path() { return UPDATE_DRIVER_PATH; }

bool can_deny_access(std::string& reason) {
  return test_support::can_run_as_other_user({ironsift_path(), wavepick_path()}, reason);
}

RunSetup threshold_update_run(const std::string& dir, const std::string& threshold) {
  RunSetup run;
  run.program = ironsift_path();
  run.args = {"HD", "i"};
  run.dir = dir;
  run.input = threshold + "\ng\n";
  run.env = {{"MOD_DIR", std::nullopt}};
  return run;
}

}  // namespace faults
