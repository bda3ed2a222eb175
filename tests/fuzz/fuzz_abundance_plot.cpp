// The abundance plot's pass loop on arbitrary line tables and cursor events.
// Checks that the loop ends, stays inside the tables, changes only use flags
// to the allowed values, and never hands a NaN or an infinity to the graphics
// library (values as the ".abd" reader delivers them: finite 32-bit reals).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "abundance_plot.h"
#include "fe_tables.h"

namespace {

class ByteSource {
 public:
  ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // A finite real: any bit pattern, with NaN and infinities made 0.
  float real() {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = (bits << 8) | byte();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0.0f;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void require(bool condition) {
  if (!condition) std::abort();
}

class CheckingDevice final : public ironsift::PlotDevice {
 public:
  explicit CheckingDevice(ByteSource& events) : events_(events) {}
  int begin(int, std::string_view, int, int) override { return 1; }
  void environment(float a, float b, float c, float d, int, int) override {
    finite(a), finite(b), finite(c), finite(d);
  }
  void set_colour_representation(int, float r, float g, float b) override {
    finite(r), finite(g), finite(b);
  }
  void set_colour_index(int ci) override { require(ci >= 0 && ci <= 4); }
  void box(std::string_view, float a, int, std::string_view, float b, int) override {
    finite(a), finite(b);
  }
  void label(std::string_view, std::string_view, std::string_view) override {}
  void set_line_style(int style) override { require(style == 1 || style == 4); }
  void line(float a, float b, float c, float d) override {
    finite(a), finite(b), finite(c), finite(d);
  }
  void point(float x, float y, int marker) override {
    finite(x), finite(y);
    require(marker == 2 || marker == 4 || marker == 5 || marker == 6);
  }
  int cursor(float& x, float& y, char& ch) override {
    finite(x), finite(y);
    // At most 64 events, then NUL: the loop must end.
    if (events_.empty() || ++requests_ > 64) {
      ch = '\0';
      return 0;
    }
    static constexpr char kCharacters[] = {'A', 'D', 'X', '\0', 'a', 'q'};
    const std::uint8_t pick = events_.byte();
    ch = kCharacters[pick % sizeof kCharacters];
    if (pick & 0x80) {  // near a place in the frame, to hit points often
      x = static_cast<float>(events_.byte()) * 0.6f;
      y = 6.5f + static_cast<float>(events_.byte()) * 0.008f;
    } else {
      x = events_.real();
      y = events_.real();
    }
    return 1;
  }

 private:
  static void finite(float v) { require(std::isfinite(v)); }
  ByteSource& events_;
  int requests_ = 0;
};

template <int Capacity>
void fill(ironsift::FeLineTable<Capacity>& table, int count, std::int32_t flag, ByteSource& in) {
  table.count = count;
  for (int i = 0; i < count && i < Capacity; ++i) {
    ironsift::FeLine& line = table.lines[static_cast<std::size_t>(i)];
    const std::uint8_t kind = in.byte();
    if (kind & 1) {  // an ordinary line
      line.width = static_cast<float>(in.byte());
      line.abundance = 6.5f + static_cast<float>(in.byte()) * 0.008f;
      line.excitation = static_cast<float>(in.byte()) * 0.02f;
    } else {
      line.width = in.real();
      line.abundance = in.real();
      line.excitation = in.real();
    }
    line.use_flag = (kind & 6) == 6 ? 0 : flag;
  }
}

template <int Capacity>
void check_flags(const ironsift::FeLineTable<Capacity>& table, std::int32_t flag) {
  for (int i = 0; i < table.count && i < Capacity; ++i) {
    const std::int32_t f = table.lines[static_cast<std::size_t>(i)].use_flag;
    require(f == flag || f == -flag || f == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteSource in(data, size);
  static ironsift::FeTables tables;
  tables = ironsift::FeTables{};
  fill(tables.fe1, in.byte() % (ironsift::kFe1Capacity + 1), 1, in);
  fill(tables.fe2, in.byte() % (ironsift::kFe2Capacity + 1), 2, in);
  const char mode = (in.byte() & 1) ? 'c' : 'w';

  // The frame from the tables' ranges, as the program works it out.
  ironsift::RangeTrackers ranges;
  const auto widen = [&ranges](const ironsift::FeLine& line) {
    ranges.width_min = std::fmin(ranges.width_min, line.width);
    ranges.width_max = std::fmax(ranges.width_max, line.width);
    ranges.abundance_min = std::fmin(ranges.abundance_min, line.abundance);
    ranges.abundance_max = std::fmax(ranges.abundance_max, line.abundance);
  };
  for (int i = 0; i < tables.fe1.count; ++i) widen(tables.fe1.lines[static_cast<std::size_t>(i)]);
  for (int i = 0; i < tables.fe2.count; ++i) widen(tables.fe2.lines[static_cast<std::size_t>(i)]);
  if (tables.fe1.count + tables.fe2.count == 0) return 0;  // the program stops before plotting
  const ironsift::PlotFrame frame = ironsift::plot_frame(ranges, mode);
  if (!ironsift::frame_is_finite(frame)) return 0;  // the program stops before plotting

  CheckingDevice device(in);
  ironsift::AbundancePlot plot(
      mode == 'c' ? ironsift::PlotKind::Excitation : ironsift::PlotKind::Width, "/null");
  for (int call = 0; call < 2; ++call) {
    if (plot.show(device, tables, "FUZZ", frame) == ironsift::PlotExit::StopRequested) break;
  }
  check_flags(tables.fe1, 1);
  check_flags(tables.fe2, 2);
  return 0;
}
