// Fuzzes the reading of a star's abundance results (".abd") into the Fe I and
// Fe II line tables, and what follows from them without a window: the plot
// frame of both plots, the statistics and the listing of rejected lines.
#include <cmath>
#include <cstdint>

#include "abundance_stats.h"
#include "fe_tables.h"
#include "fuzz_program.h"
#include "plot_modes.h"
#include "ironsift_state.h"
#include "startup.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

namespace {

template <int Capacity>
void reject_every_other(ironsift::FeLineTable<Capacity>& table) {
  for (int i = 0; i < table.count; i += 2) table.lines[static_cast<std::size_t>(i)].use_flag *= -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::InScratch in_scratch;
  fuzz::write_input_file("STAR.abd", data, size);
  static ironsift::IronsiftState state;
  ironsift::split_names("STAR", state);
  ironsift::RangeTrackers ranges;
  const bool loaded =
      fuzz::run_program_code([&] { ranges = ironsift::load_star_fe_tables(state); });
  if (!loaded) return 0;
  const ironsift::FeTables& fe = state.fe;
  if (fe.fe1.count < 0 || fe.fe1.count > ironsift::kFe1Capacity) __builtin_trap();
  if (fe.fe2.count < 0 || fe.fe2.count > ironsift::kFe2Capacity) __builtin_trap();
  if (fe.fe1.count + fe.fe2.count == 0) __builtin_trap();  // that case stops the run
  for (const char mode : {'w', 'c'}) {
    const ironsift::PlotFrame frame = ironsift::plot_frame(ranges, mode);
    (void)ironsift::frame_is_finite(frame);
  }
  float mean = 0.0f;
  float sigma = 0.0f;
  (void)ironsift::AVSIG(fe, mean, sigma);
  reject_every_other(state.fe.fe1);
  reject_every_other(state.fe.fe2);
  (void)ironsift::AVSIG(fe, mean, sigma);
  fuzz::run_program_code([&] { ironsift::list_rejected_lines(fe); });
  return 0;
}
