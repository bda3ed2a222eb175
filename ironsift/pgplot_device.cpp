#include "pgplot_device.h"

#include <cpgplot.h>

#include <cstdlib>
#include <string>

namespace ironsift {

namespace {

// Closes the device when the process ends, however it ends normally (return
// from main or a stop, which calls exit). The plots keep the device open for
// the whole run; a file device writes its picture only when it is closed, and
// a window simply disappears with the process. The new-page prompt is switched
// off first, since closing a window device would otherwise wait for RETURN on
// standard input, which belongs to the program's own questions.
void close_device_at_exit() {
  cpgask(0);
  cpgend();
}

}  // namespace

int PgplotDevice::begin(int unit, std::string_view device, int nx, int ny) {
  const std::string name(device);
  const int status = cpgbeg(unit, name.c_str(), nx, ny);
  // Status 1 means the device is open; a device that failed to open has
  // nothing to close (the library has already said why on standard error).
  static bool close_registered = false;
  if (status == 1 && !close_registered) {
    close_registered = true;
    std::atexit(close_device_at_exit);
  }
  return status;
}

void PgplotDevice::environment(float xlo, float xhi, float ylo, float yhi, int just, int axis) {
  cpgenv(xlo, xhi, ylo, yhi, just, axis);
}

void PgplotDevice::set_colour_representation(int colour_index, float red, float green,
                                             float blue) {
  cpgscr(colour_index, red, green, blue);
}

void PgplotDevice::set_colour_index(int colour_index) { cpgsci(colour_index); }

void PgplotDevice::box(std::string_view x_options, float x_tick, int x_subdivisions,
                       std::string_view y_options, float y_tick, int y_subdivisions) {
  const std::string x_opt(x_options);
  const std::string y_opt(y_options);
  cpgbox(x_opt.c_str(), x_tick, x_subdivisions, y_opt.c_str(), y_tick, y_subdivisions);
}

void PgplotDevice::label(std::string_view x_label, std::string_view y_label,
                         std::string_view title) {
  const std::string x(x_label);
  const std::string y(y_label);
  const std::string top(title);
  cpglab(x.c_str(), y.c_str(), top.c_str());
}

void PgplotDevice::set_line_style(int style) { cpgsls(style); }

void PgplotDevice::line(float x1, float x2, float y1, float y2) {
  const float xs[2] = {x1, x2};
  const float ys[2] = {y1, y2};
  cpgline(2, xs, ys);
}

void PgplotDevice::point(float x, float y, int marker) { cpgpt1(x, y, marker); }

int PgplotDevice::cursor(float& x, float& y, char& character) {
  // The library reports a device without a cursor by the character NUL; its
  // status value differs between PGPLOT builds and is not relied on.
  return cpgcurs(&x, &y, &character);
}

}  // namespace ironsift
