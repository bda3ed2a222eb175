#include "interactive_mode.h"

#include <cmath>
#include <string>

#include "abundance_plot.h"
#include "console.h"
#include "fe_tables.h"
#include "io_outcome.h"
#include "lablen.h"
#include "layout.h"
#include "line_list_update.h"
#include "texts.h"

namespace ironsift {

namespace {

constexpr std::size_t kRecordColumnsFrom = 4;  // characters 5 to 33
constexpr std::size_t kRecordColumnsCount = 29;

template <int Capacity>
void list_rejected(const FeLineTable<Capacity>& table, const velko::Layout& layout, int& count) {
  for (int i = 0; i < table.count && i < Capacity; ++i) {
    const FeLine& line = table.lines[static_cast<std::size_t>(i)];
    if (line.use_flag > 0) continue;
    const std::string record = velko::fixed_text(line.record, kRecordTextLength);
    const std::string_view columns =
        std::string_view(record).substr(kRecordColumnsFrom, kRecordColumnsCount);
    velko::console::write_formatted(layout, {line.line_number, -std::fabs(line.width), columns});
    ++count;
  }
}

}  // namespace

int list_rejected_lines(const FeTables& tables) {
  velko::console::write_list({texts::kEscapedGraphics});
  velko::console::write_list({texts::kRejectedListHeading});
  static const velko::Layout line_layout(texts::kManualRejectedLineLayout);
  static const velko::Layout count_layout(texts::kManualRejectedCountLayout);
  int count = 0;
  list_rejected(tables.fe1, line_layout, count);
  list_rejected(tables.fe2, line_layout, count);
  velko::console::write_formatted(count_layout, {static_cast<std::int32_t>(count)});
  return count;
}

void run_interactive_mode(IronsiftState& state) {
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
  for (;;) {
    if (state.run_mode == 'c') {
      DATAPLOT_C(state, frame.xlo, frame.xhi, frame.ylo, frame.yhi);
    } else {
      DATAPLOT_W(state, frame.xlo, frame.xhi, frame.ylo, frame.yhi);
    }
    list_rejected_lines(state.fe);
    // Returns only on "r": the plot is shown again with the flags as they are.
    interactive_update_question(state);
  }
}

}  // namespace ironsift
