// The production graphics device: every call goes to PGPLOT's C binding.
#pragma once

#include "plot_device.h"

namespace ironsift {

class PgplotDevice final : public PlotDevice {
 public:
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
};

}  // namespace ironsift
