// The abundance-trend plots with cursor rejection: every Fe I and Fe II line
// as a marker, the mean abundance of the lines in use as a full line and the
// mean plus and minus two standard deviations as dotted lines; the left button
// ("A") rejects the lines under the cursor, the middle button ("D") takes them
// back, and an event outside the frame leaves the plot.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "ironsift_state.h"
#include "plot_device.h"

namespace ironsift {

enum class PlotKind {
  Width,       // abundance against equivalent width (run mode "w")
  Excitation,  // abundance against excitation potential (run mode "c")
};

// How one call of a plot ended.
enum class PlotExit {
  Returned,       // the user left the plot; the flags hold the choices
  StopRequested,  // "D" outside the frame: the user asks to end the program
  DeviceNotOpened,  // the first call could not open the device: nothing drawn
};

// What a plot tells its owner as it goes; either may be left empty.
struct PlotReports {
  // The device has opened and the frame is drawn (first call only).
  std::function<void()> device_opened;
  // A cursor event has changed the use flag of this line of that table.
  std::function<void(const FeLine& line, const FeSpecies& species)> flag_changed;
};

// Where the cursor was and what it reported at the last event.
struct CursorState {
  float x = 0.0f;
  float y = 0.0f;
  char character = '\0';
};

// Colour indices and line styles; the markers and colours of the points are
// those of the table's species (FeSpecies).
inline constexpr int kBackgroundColour = 0;
inline constexpr int kForegroundColour = 1;
inline constexpr int kFullLine = 1;
inline constexpr int kDottedLine = 4;

// A point is picked when the cursor lies strictly closer than these, in the
// units of the axes (the x tolerance is 2.0 on both x axes, mA or eV).
inline constexpr float kPickToleranceX = 2.0f;
inline constexpr float kPickToleranceY = 0.02f;

// One of the two plot routines, DATAPLOT_W (PlotKind::Width) or DATAPLOT_C
// (PlotKind::Excitation), with the state it keeps from one call to the next:
// the call counter, the cursor state, the marker memory and the lines of the
// last pass. The plot modes own one for the whole run. The device is opened
// by the first call and never closed here.
class AbundancePlot {
 public:
  // device_name: the PGPLOT device opened by the first call, e.g. "/xw".
  AbundancePlot(PlotKind kind, std::string device_name);

  // One call: set-up on the first call only, then the pass loop until the
  // user leaves. Changes only use flags of tables (to -1/+1 for Fe I and
  // -2/+2 for Fe II). Returns StopRequested at once, without picking, on "D"
  // outside the frame, and DeviceNotOpened, before any other graphics call,
  // when the first call's open of the device does not report success.
  PlotExit show(PlotDevice& device, FeTables& tables, std::string_view trimmed_star_name,
                const PlotFrame& frame);

  // Writes on standard error a line "cursor-request" when a cursor request
  // starts and "cursor x y code" for its event (world coordinates, character
  // code): window tests locate the plot on the screen and click only when
  // the program waits for them.
  void set_cursor_trace(bool on) { trace_cursor_ = on; }

  void set_reports(PlotReports reports) { reports_ = std::move(reports); }

  int call_counter() const { return call_counter_; }
  const std::string& device_name() const { return device_name_; }
  const CursorState& cursor() const { return cursor_; }

 private:
  // The three horizontal lines of a pass, kept so that they can be erased
  // with the end points they were drawn with.
  struct StatisticLines {
    bool drawn = false;
    float x_left = 0.0f, x_right = 0.0f;
    float mean = 0.0f, upper = 0.0f, lower = 0.0f;
  };

  // False when the device did not open.
  bool set_up(PlotDevice& device, std::string_view trimmed_star_name, const PlotFrame& frame);
  void draw_statistic_lines(PlotDevice& device) const;
  void draw_points(PlotDevice& device, const FeTables& tables);
  void pick(PlotDevice& device, FeTables& tables, float cx, float cy, char ch) const;
  float x_value(const FeLine& line) const;
  // The marker memory of table number table_index (0 Fe I, 1 Fe II), one slot
  // per table entry.
  std::span<int> markers(std::size_t table_index);
  std::span<const int> markers(std::size_t table_index) const;

  PlotKind kind_;
  std::string device_name_;
  bool trace_cursor_ = false;
  PlotReports reports_;
  int call_counter_ = 0;
  CursorState cursor_;
  std::array<int, kFe1Capacity + kFe2Capacity> markers_{};
  StatisticLines lines_;
};

}  // namespace ironsift
