// The production graphics device: the calls go to PGPLOT's C binding (giza).
//
// giza draws with anti-aliasing, so a marker or line drawn again in the
// background colour leaves a grey trace at its edges, and one drawn again over
// itself grows bolder. This device keeps the list of what is visible instead,
// in drawing order: an element drawn in the background colour (an erase) is
// taken off the list, an element drawn again moves to the end of it, and
// before the next cursor request the page is drawn again from the list in one
// buffered update. New elements on an unchanged page are drawn at once. The
// window then shows what the same calls leave on a device without
// anti-aliasing: an erased element is gone, one drawn twice looks as drawn
// once, the last drawn lies on top.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plot_device.h"

namespace ironsift {

// True when the device name asks for an X11 window (type "/xw", "/xwin", ...).
bool is_window_device(std::string_view device_name);

// True when the environment variable DISPLAY is set and not blank.
bool display_is_set();

class PgplotDevice final : public PlotDevice {
 public:
  PgplotDevice() = default;
  ~PgplotDevice() override;
  PgplotDevice(const PgplotDevice&) = delete;
  PgplotDevice& operator=(const PgplotDevice&) = delete;

  // Returns 1 when the device is open. A window device without DISPLAY is not
  // tried: the library would report it on every later call.
  int begin(int unit, std::string_view device, int nx, int ny) override;
  void environment(float xlo, float xhi, float ylo, float yhi, int just, int axis) override;
  void set_colour_representation(int colour_index, float red, float green, float blue) override;
  void set_colour_index(int colour_index) override;
  void box(std::string_view x_options, float x_tick, int x_subdivisions,
           std::string_view y_options, float y_tick, int y_subdivisions) override;
  void label(std::string_view x_label, std::string_view y_label, std::string_view title) override;
  void set_line_style(int style) override;
  void line(float x1, float x2, float y1, float y2) override;
  void point(float x, float y, int marker) override;
  int cursor(float& x, float& y, char& character) override;

  // True when the open device has a cursor (a window; a picture file has none).
  bool has_cursor() const;
  // Draws the page again from the list when an erase is still pending, so that
  // the screen or the picture file shows the list.
  void bring_up_to_date();

 private:
  // One line or marker on the page, with the colour index and line style it
  // was drawn in.
  struct Element {
    bool is_line = false;
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;  // line: x1, x2, y1, y2; marker: x, y
    int marker = 0;
    int colour = 0;
    int style = 0;
    // Same place and shape (what an erase of it would cover).
    bool same_shape(const Element& other) const;
  };
  struct Frame {
    bool drawn = false;
    int box_colour = 1, label_colour = 1;
    std::string x_options, y_options;
    float x_tick = 0.0f, y_tick = 0.0f;
    int x_subdivisions = 0, y_subdivisions = 0;
    bool labelled = false;
    std::string x_label, y_label, title;
  };

  void draw(const Element& element);
  void add(const Element& element);
  void redraw();

  bool open_ = false;
  int colour_ = 1;
  int style_ = 1;
  bool redraw_pending_ = false;
  Frame frame_;
  std::vector<Element> visible_;
};

}  // namespace ironsift
