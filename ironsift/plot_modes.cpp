#include "plot_modes.h"

#include <cmath>
#include <string>

#include "abundance_plot.h"
#include "abundance_records.h"
#include "console.h"
#include "fe_tables.h"
#include "io_outcome.h"
#include "lablen.h"
#include "layout.h"
#include "line_list_update.h"
#include "pgplot_device.h"
#include "process_env.h"
#include "texts.h"

namespace ironsift {

namespace {

constexpr std::string_view kWindowDevice = "/xw";
constexpr const char* kDeviceVariable = "PGPLOT_DEV";
constexpr const char* kCursorTraceVariable = "IRONSIFT_CURSOR_TRACE";
// Long enough for a picture file's path; a cut name would write elsewhere.
constexpr std::size_t kDeviceNameLength = 1024;

}  // namespace

int list_rejected_lines(const FeTables& tables) {
  velko::console::write_list({texts::kEscapedGraphics});
  velko::console::write_list({texts::kRejectedListHeading});
  static const velko::Layout line_layout(texts::kManualRejectedLineLayout);
  static const velko::Layout count_layout(texts::kManualRejectedCountLayout);
  int count = 0;
  for (const ConstFeTableView& table : tables.views()) {
    for (const FeLine& line : table.lines) {
      if (line.use_flag > 0) continue;
      const std::string columns = copied_columns(line.record);
      velko::console::write_formatted(line_layout,
                                      {line.line_number, -std::fabs(line.width), columns});
      ++count;
    }
  }
  velko::console::write_formatted(count_layout, {static_cast<std::int32_t>(count)});
  return count;
}

std::string plot_device_name() {
  const std::string value = velko::environment_text(kDeviceVariable, kDeviceNameLength);
  const std::string_view name = velko::trimmed(value);
  return name.empty() ? std::string(kWindowDevice) : std::string(name);
}

void run_plot_mode(IronsiftState& state) {
  const RangeTrackers ranges = load_star_fe_tables(state);
  const PlotFrame frame = plot_frame(ranges, state.run_mode);
  if (!frame_is_finite(frame)) {
    // Values near the limit of 32-bit reals give an infinite limit, which the
    // graphics library cannot draw in.
    velko::console::write_list({std::string(texts::kFrameTooLargeStart) +
                                star_abundance_file_name(state) +
                                std::string(texts::kFrameTooLargeEnd)});
    velko::stop_program(velko::kExitStopFailure);
  }
  // The plot of the run mode and its device, kept from one showing to the
  // next: the window opened by the first stays open until the program ends.
  PgplotDevice device;
  AbundancePlot plot(state.run_mode == 'c' ? PlotKind::Excitation : PlotKind::Width,
                     plot_device_name());
  plot.set_cursor_trace(!velko::trimmed(velko::environment_text(kCursorTraceVariable)).empty());
  for (;;) {
    show_plot_or_stop(plot, device, state, frame);
    list_rejected_lines(state.fe);
    // Returns only on "r": the plot is shown again with the flags as they are.
    interactive_update_question(state);
  }
}

}  // namespace ironsift
