#include "plot_modes.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "abundance_plot.h"
#include "abundance_records.h"
#include "console.h"
#include "fe_tables.h"
#include "outcome.h"
#include "program_end.h"
#include "lablen.h"
#include "layout.h"
#include "line_list_update.h"
#include "pgplot_device.h"
#include "process_env.h"
#include "texts.h"
#include "warnings.h"

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

std::string device_failure_message(std::string_view device_name, bool display_set) {
  std::string message(texts::kDeviceNotOpenedStart);
  message += device_name;
  message += is_window_device(device_name) && !display_set ? texts::kDeviceNoDisplay
                                                            : texts::kDeviceNotOpenedQuoteEnd;
  message += texts::kDeviceNotOpenedEnd;
  return message;
}

std::string flag_change_line(const FeLine& line, const FeSpecies& species,
                             const IronsiftState& state) {
  std::string wavelength(texts::kWavelengthNotInTable);
  for (const LineTableEntry& entry : state.line_table) {
    if (entry.line_number == line.line_number) {
      char text[64];
      std::snprintf(text, sizeof text, "%.3f A", entry.wavelength);
      wavelength = text;
      break;
    }
  }
  char values[96];
  std::snprintf(values, sizeof values, "W = %.1f mA, A = %.3f", static_cast<double>(line.width),
                static_cast<double>(line.abundance));
  return std::string(line.use_flag > 0 ? texts::kLineRestored : texts::kLineRejected) +
         ": line " + std::to_string(line.line_number) + ", " + std::string(species.name) + ", " +
         wavelength + ", " + values;
}

void show_plot_or_stop(AbundancePlot& plot, PlotDevice& device, IronsiftState& state,
                       const PlotFrame& frame) {
  switch (plot.show(device, state.fe, state.star.trimmed(), frame)) {
    case PlotExit::Returned:
      return;
    case PlotExit::StopRequested:
      // The user's way out of the whole program: status 0, nothing written.
      velko::stop_program(velko::kExitNormal);
    case PlotExit::DeviceNotOpened:
      // Going on would ask the update question about lines nobody reviewed.
      note(device_failure_message(plot.device_name(), display_is_set()));
      velko::stop_program(velko::kExitStopFailure);
  }
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
  plot.set_reports(PlotReports{
      [&device] {
        if (device.has_cursor()) note(texts::kButtonsHelp);
      },
      [&state](const FeLine& line, const FeSpecies& species) {
        note(flag_change_line(line, species, state));
      }});
  for (;;) {
    show_plot_or_stop(plot, device, state, frame);
    list_rejected_lines(state.fe);
    // Returns only on "r": the plot is shown again with the flags as they are.
    interactive_update_question(state);
  }
}

}  // namespace ironsift
