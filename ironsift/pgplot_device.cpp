#include "pgplot_device.h"

#include <cpgplot.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace ironsift {

namespace {

constexpr int kBackgroundColourIndex = 0;  // drawing in it erases

// The device that is open, for the end of the process; nullptr when its
// object is gone (the library's device itself stays open until then).
PgplotDevice* g_open_device = nullptr;

// Closes the device when the process ends, however it ends normally (return
// from main or a stop, which calls exit). The plots keep the device open for
// the whole run; a file device writes its picture only when it is closed, and
// a window simply disappears with the process. A pending erase is drawn first,
// so that the picture shows what is visible. The new-page prompt is switched
// off, since closing a window device would otherwise wait for RETURN on
// standard input, which belongs to the program's own questions.
void close_device_at_exit() {
  if (g_open_device != nullptr) g_open_device->bring_up_to_date();
  cpgask(0);
  cpgend();
}

}  // namespace

bool is_window_device(std::string_view device_name) {
  const std::size_t slash = device_name.rfind('/');
  if (slash == std::string_view::npos || slash + 1 >= device_name.size()) return false;
  return std::tolower(static_cast<unsigned char>(device_name[slash + 1])) == 'x';
}

bool display_is_set() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr) return false;
  return std::string_view(display).find_first_not_of(' ') != std::string_view::npos;
}

PgplotDevice::~PgplotDevice() {
  if (g_open_device == this) g_open_device = nullptr;
}

bool PgplotDevice::Element::same_shape(const Element& other) const {
  if (is_line != other.is_line || a != other.a || b != other.b) return false;
  if (is_line) return c == other.c && d == other.d && style == other.style;
  return marker == other.marker;
}

int PgplotDevice::begin(int unit, std::string_view device, int nx, int ny) {
  if (is_window_device(device) && !display_is_set()) return 0;
  const std::string name(device);
  const int status = cpgbeg(unit, name.c_str(), nx, ny);
  // Status 1 means the device is open; a device that failed to open has
  // nothing to close (the library has already said why on standard error).
  static bool close_registered = false;
  if (status == 1) {
    open_ = true;
    g_open_device = this;
    if (!close_registered) {
      close_registered = true;
      std::atexit(close_device_at_exit);
    }
  }
  return status;
}

void PgplotDevice::environment(float xlo, float xhi, float ylo, float yhi, int just, int axis) {
  // A new page: nothing on it yet.
  visible_.clear();
  frame_ = Frame{};
  redraw_pending_ = false;
  cpgenv(xlo, xhi, ylo, yhi, just, axis);
}

void PgplotDevice::set_colour_representation(int colour_index, float red, float green,
                                             float blue) {
  cpgscr(colour_index, red, green, blue);
}

void PgplotDevice::set_colour_index(int colour_index) {
  colour_ = colour_index;
  cpgsci(colour_index);
}

void PgplotDevice::box(std::string_view x_options, float x_tick, int x_subdivisions,
                       std::string_view y_options, float y_tick, int y_subdivisions) {
  frame_.drawn = true;
  frame_.box_colour = colour_;
  frame_.x_options = std::string(x_options);
  frame_.y_options = std::string(y_options);
  frame_.x_tick = x_tick;
  frame_.y_tick = y_tick;
  frame_.x_subdivisions = x_subdivisions;
  frame_.y_subdivisions = y_subdivisions;
  cpgbox(frame_.x_options.c_str(), x_tick, x_subdivisions, frame_.y_options.c_str(), y_tick,
         y_subdivisions);
}

void PgplotDevice::label(std::string_view x_label, std::string_view y_label,
                         std::string_view title) {
  frame_.labelled = true;
  frame_.label_colour = colour_;
  frame_.x_label = std::string(x_label);
  frame_.y_label = std::string(y_label);
  frame_.title = std::string(title);
  cpglab(frame_.x_label.c_str(), frame_.y_label.c_str(), frame_.title.c_str());
  // The library places the frame's numbers a pixel or two differently on a
  // fresh page than on an erased one; the page is drawn again from the list
  // before the first cursor request, so that every redraw looks the same as
  // the first picture.
  redraw_pending_ = true;
}

void PgplotDevice::set_line_style(int style) {
  style_ = style;
  cpgsls(style);
}

void PgplotDevice::line(float x1, float x2, float y1, float y2) {
  add(Element{true, x1, x2, y1, y2, 0, colour_, style_});
}

void PgplotDevice::point(float x, float y, int marker) {
  add(Element{false, x, y, 0.0f, 0.0f, marker, colour_, style_});
}

int PgplotDevice::cursor(float& x, float& y, char& character) {
  bring_up_to_date();
  // The library reports a device without a cursor by the character NUL; its
  // status value differs between PGPLOT builds and is not relied on.
  return cpgcurs(&x, &y, &character);
}

bool PgplotDevice::has_cursor() const {
  if (!open_) return false;
  char value[16] = {};
  int length = static_cast<int>(sizeof value);
  cpgqinf("CURSOR", value, &length);
  return std::string_view(value, static_cast<std::size_t>(std::clamp(length, 0, 15))) == "YES";
}

void PgplotDevice::bring_up_to_date() {
  if (redraw_pending_) redraw();
}

void PgplotDevice::add(const Element& element) {
  if (element.colour == kBackgroundColourIndex) {
    // An erase: what it covers goes off the list; the page is drawn again
    // from the list before the cursor is read (or the device is closed).
    const auto erased = std::remove_if(visible_.begin(), visible_.end(),
                                       [&](const Element& e) { return e.same_shape(element); });
    if (erased != visible_.end()) {
      visible_.erase(erased, visible_.end());
      redraw_pending_ = true;
    }
    return;
  }
  // Drawn again: it goes on top of what was drawn before it, as on a device
  // without anti-aliasing, but it is drawn only once, by a redraw of the page
  // in the order of the list, and not over itself, which would make it bolder.
  const auto same = std::remove_if(visible_.begin(), visible_.end(),
                                   [&](const Element& e) { return e.same_shape(element); });
  const bool drawn_before = same != visible_.end();
  visible_.erase(same, visible_.end());
  visible_.push_back(element);
  if (drawn_before) redraw_pending_ = true;
  if (!redraw_pending_) draw(element);
}

void PgplotDevice::draw(const Element& element) {
  cpgsci(element.colour);
  if (element.is_line) {
    cpgsls(element.style);
    const float xs[2] = {element.a, element.b};
    const float ys[2] = {element.c, element.d};
    cpgline(2, xs, ys);
  } else {
    cpgpt1(element.a, element.b, element.marker);
  }
}

void PgplotDevice::redraw() {
  redraw_pending_ = false;
  cpgbbuf();
  cpgeras();
  if (frame_.drawn) {
    cpgsci(frame_.box_colour);
    cpgsls(1);
    cpgbox(frame_.x_options.c_str(), frame_.x_tick, frame_.x_subdivisions,
           frame_.y_options.c_str(), frame_.y_tick, frame_.y_subdivisions);
  }
  if (frame_.labelled) {
    cpgsci(frame_.label_colour);
    cpglab(frame_.x_label.c_str(), frame_.y_label.c_str(), frame_.title.c_str());
  }
  for (const Element& element : visible_) draw(element);
  cpgsci(colour_);
  cpgsls(style_);
  cpgebuf();
}

}  // namespace ironsift
