// The graphics calls of the abundance plots, behind one thin interface.
//
// Each member stands for one routine of the PGPLOT library, with its
// arguments in the library's order and meaning. Production code uses
// PgplotDevice (pgplot_device.h), which passes every call straight to the
// library's C binding; tests use a double that records the calls and scripts
// the cursor events.
#pragma once

#include <string_view>

namespace ironsift {

class PlotDevice {
 public:
  virtual ~PlotDevice() = default;

  // PGBEG: opens the graphics device; nx by ny panels. The result is the
  // library's status, which the plots do not examine.
  virtual int begin(int unit, std::string_view device, int nx, int ny) = 0;
  // PGENV: a new page with the world window (xlo, xhi) x (ylo, yhi).
  virtual void environment(float xlo, float xhi, float ylo, float yhi, int just, int axis) = 0;
  // PGSCR: colour representation of a colour index, components 0.0 to 1.0.
  virtual void set_colour_representation(int colour_index, float red, float green,
                                         float blue) = 0;
  // PGSCI: the colour index of what is drawn next.
  virtual void set_colour_index(int colour_index) = 0;
  // PGBOX: frame, ticks and numbers.
  virtual void box(std::string_view x_options, float x_tick, int x_subdivisions,
                   std::string_view y_options, float y_tick, int y_subdivisions) = 0;
  // PGLAB: x label, y label and title.
  virtual void label(std::string_view x_label, std::string_view y_label,
                     std::string_view title) = 0;
  // PGSLS: line style (1 full, 4 dotted).
  virtual void set_line_style(int style) = 0;
  // PGLINE with two points: a straight line from (x1, y1) to (x2, y2).
  virtual void line(float x1, float x2, float y1, float y2) = 0;
  // PGPT1: one marker at (x, y).
  virtual void point(float x, float y, int marker) = 0;
  // PGCURS: waits for a cursor event. On entry x, y are where the cursor
  // starts; on return they hold the event's position and character holds its
  // character (NUL when the device has no cursor or the request failed).
  virtual int cursor(float& x, float& y, char& character) = 0;
};

}  // namespace ironsift
