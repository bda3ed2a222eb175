#include "abundance_plot.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "abundance_stats.h"
#include "texts.h"

namespace ironsift {

namespace {

constexpr std::string_view kBoxOptions = "ABCTSN";

}  // namespace

AbundancePlot::AbundancePlot(PlotKind kind, std::string device_name)
    : kind_(kind), device_name_(std::move(device_name)) {}

float AbundancePlot::x_value(const FeLine& line) const {
  return kind_ == PlotKind::Width ? line.width : line.excitation;
}

bool AbundancePlot::set_up(PlotDevice& device, std::string_view trimmed_star_name,
                           const PlotFrame& frame) {
  call_counter_ = 1;
  // Nothing more goes to a device that did not open: the library would
  // complain at every call, and the user would review nothing.
  if (device.begin(0, device_name_, 1, 1) != 1) return false;
  device.environment(frame.xlo, frame.xhi, frame.ylo, frame.yhi, 0, -2);
  // White background and black foreground on every device: the picture looks
  // the same in a window and in a file, and erasing (drawing in colour 0)
  // matches the background that the page was cleared to.
  device.set_colour_representation(kBackgroundColour, 1.0f, 1.0f, 1.0f);
  device.set_colour_representation(kForegroundColour, 0.0f, 0.0f, 0.0f);
  device.set_colour_index(kForegroundColour);
  device.box(kBoxOptions, 0.0f, 0, kBoxOptions, 0.0f, 0);
  const bool width_plot = kind_ == PlotKind::Width;
  std::string title(width_plot ? texts::kWidthPlotTitle : texts::kExcitationPlotTitle);
  title += trimmed_star_name;
  device.label(width_plot ? texts::kWidthAxisLabel : texts::kExcitationAxisLabel,
               texts::kAbundanceAxisLabel, title);
  if (reports_.device_opened) reports_.device_opened();
  return true;
}

void AbundancePlot::draw_statistic_lines(PlotDevice& device) const {
  device.set_line_style(kFullLine);
  device.line(lines_.x_left, lines_.x_right, lines_.mean, lines_.mean);
  device.set_line_style(kDottedLine);
  device.line(lines_.x_left, lines_.x_right, lines_.upper, lines_.upper);
  device.set_line_style(kDottedLine);
  device.line(lines_.x_left, lines_.x_right, lines_.lower, lines_.lower);
}

std::span<int> AbundancePlot::markers(std::size_t table_index) {
  return table_index == 0 ? std::span<int>(markers_).first(kFe1Capacity)
                          : std::span<int>(markers_).subspan(kFe1Capacity);
}

std::span<const int> AbundancePlot::markers(std::size_t table_index) const {
  return table_index == 0 ? std::span<const int>(markers_).first(kFe1Capacity)
                          : std::span<const int>(markers_).subspan(kFe1Capacity);
}

void AbundancePlot::draw_points(PlotDevice& device, const FeTables& tables) {
  const auto views = tables.views();
  for (std::size_t t = 0; t < views.size(); ++t) {
    const FeSpecies& species = views[t].species;
    const std::span<int> memory = markers(t);
    for (std::size_t i = 0; i < views[t].lines.size(); ++i) {
      const FeLine& line = views[t].lines[i];
      const int marker = line.use_flag > 0 ? species.in_use_marker : species.rejected_marker;
      memory[i] = marker;
      device.set_colour_index(species.colour);
      device.point(x_value(line), line.abundance, marker);
    }
  }
}

void AbundancePlot::pick(PlotDevice& device, FeTables& tables, float cx, float cy,
                         char ch) const {
  // Every point inside the tolerance box is picked, not only the nearest. The
  // differences are formed and compared in 32-bit reals.
  const auto picked = [&](const FeLine& line) {
    const float dx = cx - x_value(line);
    const float dy = cy - line.abundance;
    return std::fabs(dx) < kPickToleranceX && std::fabs(dy) < kPickToleranceY;
  };
  const auto views = tables.views();
  for (std::size_t t = 0; t < views.size(); ++t) {
    const FeSpecies& species = views[t].species;
    const std::span<const int> memory = markers(t);
    for (std::size_t i = 0; i < views[t].lines.size(); ++i) {
      FeLine& line = views[t].lines[i];
      if (!picked(line)) continue;
      device.set_colour_index(kBackgroundColour);
      device.point(x_value(line), line.abundance, memory[i]);
      device.set_colour_index(species.colour);
      const std::int32_t before = line.use_flag;
      if (ch == 'A' && line.use_flag > 0) {
        line.use_flag = -species.in_use_flag;
      } else if (ch == 'D' && line.use_flag < 0) {
        line.use_flag = species.in_use_flag;
      }
      if (line.use_flag != before && reports_.flag_changed) reports_.flag_changed(line, species);
    }
  }
}

PlotExit AbundancePlot::show(PlotDevice& device, FeTables& tables,
                             std::string_view trimmed_star_name, const PlotFrame& frame) {
  if (call_counter_ == 0 && !set_up(device, trimmed_star_name, frame)) {
    return PlotExit::DeviceNotOpened;
  }

  bool leave = false;
  for (;;) {
    float mean = 0.0f;
    float sigma = 0.0f;
    const bool has_statistics = AVSIG(tables, mean, sigma);
    device.set_colour_index(kForegroundColour);
    lines_.x_left = frame.xlo;
    lines_.x_right = frame.xhi;
    lines_.mean = mean;
    lines_.upper = mean + 2.0f * sigma;
    lines_.lower = mean - 2.0f * sigma;
    // With no line in use there is no mean: no lines are drawn, so the picture
    // shows the rejected markers alone. A sigma beyond the 32-bit range would
    // put a line at infinity; it is not drawn either.
    lines_.drawn = has_statistics && std::isfinite(lines_.upper) && std::isfinite(lines_.lower);
    if (lines_.drawn) draw_statistic_lines(device);
    draw_points(device, tables);

    if (trace_cursor_) {
      std::fprintf(stderr, "cursor-request\n");
      std::fflush(stderr);
    }
    device.cursor(cursor_.x, cursor_.y, cursor_.character);
    const float cx = cursor_.x;
    const float cy = cursor_.y;
    const char ch = cursor_.character;
    if (trace_cursor_) {
      std::fprintf(stderr, "cursor %.9g %.9g %d\n", static_cast<double>(cx),
                   static_cast<double>(cy), static_cast<int>(static_cast<unsigned char>(ch)));
      std::fflush(stderr);
    }

    // The frame's edge counts as inside.
    if (cx < frame.xlo || cx > frame.xhi || cy < frame.ylo || cy > frame.yhi) {
      leave = true;
      if (ch == 'D') return PlotExit::StopRequested;
    }
    // NUL: the device has no cursor, or the request failed.
    if (ch == '\0') leave = true;

    pick(device, tables, cx, cy, ch);
    if (leave) return PlotExit::Returned;

    if (lines_.drawn) {
      device.set_colour_index(kBackgroundColour);
      draw_statistic_lines(device);
      device.set_colour_index(kForegroundColour);
    }
  }
}

}  // namespace ironsift
