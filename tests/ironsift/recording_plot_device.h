// A graphics device for tests: records every call as a line of text and
// answers cursor requests from a script of events.
#pragma once

#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "plot_device.h"

namespace ironsift_test {

struct CursorEvent {
  float x;
  float y;
  char character;
};

class RecordingPlotDevice final : public ironsift::PlotDevice {
 public:
  // Events answered in order; once they are used up, the device answers NUL
  // (as a device without a cursor does), so a faulty loop cannot hang a test.
  void script(std::vector<CursorEvent> events) { events_.assign(events.begin(), events.end()); }

  // The calls so far, e.g. "pt1 50 7.4 4"; numbers written with %g.
  const std::vector<std::string>& calls() const { return calls_; }
  void clear() { calls_.clear(); }
  // Every number passed to the library so far, to check that no NaN or
  // infinity reached it.
  const std::vector<float>& numbers() const { return numbers_; }
  // Starting positions and characters of the cursor requests, in order.
  const std::vector<CursorEvent>& cursor_starts() const { return cursor_starts_; }

  // What begin answers: 1 (open) unless set otherwise.
  void set_begin_status(int status) { begin_status_ = status; }

  int begin(int unit, std::string_view device, int nx, int ny) override {
    add("beg " + num(unit) + " " + std::string(device) + " " + num(nx) + " " + num(ny));
    return begin_status_;
  }
  void environment(float xlo, float xhi, float ylo, float yhi, int just, int axis) override {
    add("env " + num(xlo) + " " + num(xhi) + " " + num(ylo) + " " + num(yhi) + " " + num(just) +
        " " + num(axis));
  }
  void set_colour_representation(int ci, float r, float g, float b) override {
    add("scr " + num(ci) + " " + num(r) + " " + num(g) + " " + num(b));
  }
  void set_colour_index(int ci) override { add("sci " + num(ci)); }
  void box(std::string_view xo, float xt, int xs, std::string_view yo, float yt,
           int ys) override {
    add("box " + std::string(xo) + " " + num(xt) + " " + num(xs) + " " + std::string(yo) + " " +
        num(yt) + " " + num(ys));
  }
  void label(std::string_view x, std::string_view y, std::string_view title) override {
    add("lab [" + std::string(x) + "] [" + std::string(y) + "] [" + std::string(title) + "]");
  }
  void set_line_style(int style) override { add("sls " + num(style)); }
  void line(float x1, float x2, float y1, float y2) override {
    add("line " + num(x1) + " " + num(x2) + " " + num(y1) + " " + num(y2));
  }
  void point(float x, float y, int marker) override {
    add("pt1 " + num(x) + " " + num(y) + " " + num(marker));
  }
  int cursor(float& x, float& y, char& ch) override {
    cursor_starts_.push_back({x, y, ch});
    add("curs");
    if (events_.empty()) {
      ch = '\0';
      return 0;
    }
    x = events_.front().x;
    y = events_.front().y;
    ch = events_.front().character;
    events_.pop_front();
    return 1;
  }

 private:
  std::string num(float v) {
    numbers_.push_back(v);
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
  }
  std::string num(int v) { return std::to_string(v); }
  void add(std::string call) { calls_.push_back(std::move(call)); }

  int begin_status_ = 1;
  std::deque<CursorEvent> events_;
  std::vector<std::string> calls_;
  std::vector<float> numbers_;
  std::vector<CursorEvent> cursor_starts_;
};

}  // namespace ironsift_test
