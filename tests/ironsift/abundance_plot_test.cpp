// The abundance plots' pass loop, driven through a recording device with
// scripted cursor events.
#include "abundance_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fe_lines.h"
#include "recording_plot_device.h"

namespace {

using ironsift::AbundancePlot;
using ironsift::FeTables;
using ironsift::PlotExit;
using ironsift::PlotFrame;
using ironsift::PlotKind;
using ironsift_test::CursorEvent;
using ironsift_test::RecordingPlotDevice;
using Calls = std::vector<std::string>;
using ironsift_test::add_fe1;
using ironsift_test::add_fe2;

// The calls with indices from `from` up to, not including, `to`.
Calls slice(const Calls& calls, std::size_t from, std::size_t to) {
  return Calls(calls.begin() + static_cast<long>(from), calls.begin() + static_cast<long>(to));
}

std::size_t count_of(const Calls& calls, const std::string& call) {
  return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
}

const PlotFrame kWidthFrame{0.0f, 150.0f, 7.0f, 8.0f};

// ---- the pass loop ---------------------------------------------------------

TEST(AbundancePlot, FirstCallSetsUpThenDrawsLinesAndPoints) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  add_fe2(t, 60.0f, 7.6f);
  RecordingPlotDevice device;  // no events: the cursor answers NUL
  AbundancePlot plot(PlotKind::Width, "/xw");
  EXPECT_EQ(plot.show(device, t, "HD123", kWidthFrame), PlotExit::Returned);
  const Calls expected = {
      "beg 0 /xw 1 1",
      "env 0 150 7 8 0 -2",
      "scr 0 1 1 1",
      "scr 1 0 0 0",
      "sci 1",
      "box ABCTSN 0 0 ABCTSN 0 0",
      "lab [\\frEquivalent width (mA)] [\\frFe Anundance] [\\frA vs. W relation: HD123]",
      "sci 1",
      "sls 1",
      "line 0 150 7.5 7.5",
      "sls 4",
      "line 0 150 7.7 7.7",
      "sls 4",
      "line 0 150 7.3 7.3",
      "sci 4",
      "pt1 40 7.4 4",
      "sci 3",
      "pt1 60 7.6 6",
      "curs",
  };
  EXPECT_EQ(device.calls(), expected);
  EXPECT_EQ(plot.call_counter(), 1);
}

TEST(AbundancePlot, SecondCallSkipsSetUpAndStartsTheCursorWhereItWas) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{100.0f, 7.9f, 'X'}, {160.0f, 7.9f, 'X'}});  // inside, then outside
  ASSERT_EQ(plot.show(device, t, "HD123", kWidthFrame), PlotExit::Returned);
  device.clear();
  plot.show(device, t, "HD123", kWidthFrame);
  const Calls expected = {
      "sci 1", "sls 1", "line 0 150 7.4 7.4", "sls 4", "line 0 150 7.4 7.4",
      "sls 4", "line 0 150 7.4 7.4", "sci 4", "pt1 40 7.4 4", "curs",
  };
  EXPECT_EQ(device.calls(), expected);
  // Every request starts from the previous answer, across calls too; the
  // very first from (0, 0) and NUL.
  const auto& starts = device.cursor_starts();
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[0].x, 0.0f);
  EXPECT_EQ(starts[0].y, 0.0f);
  EXPECT_EQ(starts[0].character, '\0');
  EXPECT_EQ(starts[1].x, 100.0f);
  EXPECT_EQ(starts[2].x, 160.0f);
  EXPECT_EQ(starts[2].character, 'X');
}

TEST(AbundancePlot, RejectsWithAErasesAndRedrawsThenRestoresWithD) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  add_fe1(t, 60.0f, 7.6f);
  add_fe2(t, 90.0f, 7.5f);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{40.5f, 7.41f, 'A'}, {89.0f, 7.49f, 'A'}, {40.5f, 7.41f, 'D'},
                 {200.0f, 7.5f, 'X'}});
  ASSERT_EQ(plot.show(device, t, "HD123", kWidthFrame), PlotExit::Returned);
  EXPECT_EQ(t.fe1.lines[0].use_flag, 1);  // rejected, then taken back
  EXPECT_EQ(t.fe1.lines[1].use_flag, 1);
  EXPECT_EQ(t.fe2.lines[0].use_flag, -2);

  const Calls& calls = device.calls();
  std::vector<std::size_t> curs;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i] == "curs") curs.push_back(i);
  }
  ASSERT_EQ(curs.size(), 4u);
  // After the first "A": the point is erased with the marker it was drawn with,
  // in the background colour; then the three lines of that pass are erased.
  const Calls after_first = slice(calls, curs[0] + 1, curs[0] + 13);
  const Calls expected_after_first = {
      "sci 0", "pt1 40 7.4 4", "sci 4",
      "sci 0", "sls 1", "line 0 150 7.5 7.5", "sls 4", "line 0 150 7.6633 7.6633",
      "sls 4", "line 0 150 7.3367 7.3367", "sci 1",
      "sci 1"};
  EXPECT_EQ(after_first, expected_after_first);
  // The next pass draws it as rejected, the mean over the two left.
  const Calls second_pass = slice(calls, curs[0] + 12, curs[1]);
  EXPECT_EQ(count_of(second_pass, "pt1 40 7.4 5"), 1u);
  EXPECT_EQ(count_of(second_pass, "line 0 150 7.55 7.55"), 1u);
  // The Fe II point is erased with its own marker and colour.
  const Calls after_second = slice(calls, curs[1] + 1, curs[1] + 4);
  EXPECT_EQ(after_second, (Calls{"sci 0", "pt1 90 7.5 6", "sci 3"}));
  // "D" erases the rejected marker and the next pass draws it in use again.
  const Calls after_third = slice(calls, curs[2] + 1, curs[2] + 4);
  EXPECT_EQ(after_third, (Calls{"sci 0", "pt1 40 7.4 5", "sci 4"}));
  EXPECT_EQ(count_of(slice(calls, curs[2], curs[3]), "pt1 40 7.4 4"), 1u);
  EXPECT_EQ(count_of(slice(calls, curs[2], curs[3]), "pt1 90 7.5 2"), 1u);
}

TEST(AbundancePlot, PicksEveryPointInTheBoxNotOnlyTheNearest) {
  FeTables t;
  add_fe1(t, 50.0f, 7.50f);
  add_fe1(t, 51.5f, 7.51f);
  add_fe2(t, 49.0f, 7.49f);
  add_fe1(t, 53.0f, 7.50f);  // 2.5 away in x: outside the box
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{50.5f, 7.50f, 'A'}});
  plot.show(device, t, "S", kWidthFrame);
  EXPECT_EQ(t.fe1.lines[0].use_flag, -1);
  EXPECT_EQ(t.fe1.lines[1].use_flag, -1);
  EXPECT_EQ(t.fe2.lines[0].use_flag, -2);
  EXPECT_EQ(t.fe1.lines[2].use_flag, 1);
}

TEST(AbundancePlot, PickTolerancesAreStrictIn32BitReals) {
  // Abundance 0 and the cursor at 0.02f: the difference is exactly the
  // tolerance (a double tolerance of 0.02 would take it). x exactly 2.0 away
  // is not picked either; just inside both is.
  const PlotFrame frame{0.0f, 150.0f, -1.0f, 1.0f};
  struct Case {
    float cx, cy;
    bool picked;
  };
  const std::vector<Case> cases = {
      {12.0f, 0.0f, false}, {8.0f, 0.0f, false}, {10.0f, 0.02f, false},
      {10.0f, -0.02f, false}, {11.99f, 0.0f, true}, {10.0f, 0.0199f, true},
  };
  for (const Case& c : cases) {
    FeTables t;
    add_fe1(t, 10.0f, 0.0f);
    RecordingPlotDevice device;
    AbundancePlot plot(PlotKind::Width, "/xw");
    device.script({{c.cx, c.cy, 'A'}});
    plot.show(device, t, "S", frame);
    EXPECT_EQ(t.fe1.lines[0].use_flag, c.picked ? -1 : 1) << c.cx << " " << c.cy;
  }
}

TEST(AbundancePlot, FrameEdgeCountsAsInside) {
  FeTables t;
  add_fe1(t, 149.5f, 7.99f);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  // On the right edge, on the top edge, on both lower limits: the loop goes
  // on after each; the last event (NUL from the empty script) ends it.
  device.script({{150.0f, 7.99f, 'A'}, {20.0f, 8.0f, 'X'}, {0.0f, 7.0f, 'X'}});
  plot.show(device, t, "S", kWidthFrame);
  EXPECT_EQ(count_of(device.calls(), "curs"), 4u);
  EXPECT_EQ(t.fe1.lines[0].use_flag, -1);
}

TEST(AbundancePlot, LeavingRules) {
  struct Case {
    const char* what;
    CursorEvent event;
    PlotExit exit;
    int flag_after;     // of the in-use point near (149, 7.5)
    std::size_t curs;   // cursor requests made
  };
  const std::vector<Case> cases = {
      {"A outside near a point: rejects it and returns", {150.5f, 7.5f, 'A'},
       PlotExit::Returned, -1, 1},
      {"other key outside: returns, nothing changes", {150.5f, 7.5f, 'q'},
       PlotExit::Returned, 1, 1},
      {"NUL inside: returns", {149.0f, 7.5f, '\0'}, PlotExit::Returned, 1, 1},
      {"D outside: stop requested at once", {150.5f, 7.5f, 'D'}, PlotExit::StopRequested, 1, 1},
      {"other key inside: loop goes on", {149.0f, 7.5f, 'x'}, PlotExit::Returned, 1, 2},
  };
  for (const Case& c : cases) {
    FeTables t;
    add_fe1(t, 149.0f, 7.5f);
    RecordingPlotDevice device;
    AbundancePlot plot(PlotKind::Width, "/xw");
    device.script({c.event});
    EXPECT_EQ(plot.show(device, t, "S", kWidthFrame), c.exit) << c.what;
    EXPECT_EQ(t.fe1.lines[0].use_flag, c.flag_after) << c.what;
    EXPECT_EQ(count_of(device.calls(), "curs"), c.curs) << c.what;
  }
}

TEST(AbundancePlot, DOutsideFrameDoesNotPick) {
  FeTables t;
  add_fe1(t, 149.0f, 7.5f, -1);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{150.5f, 7.5f, 'D'}});
  ASSERT_EQ(plot.show(device, t, "S", kWidthFrame), PlotExit::StopRequested);
  EXPECT_EQ(t.fe1.lines[0].use_flag, -1);
  EXPECT_EQ(device.calls().back(), "curs");  // nothing erased after the event
}

TEST(AbundancePlot, WrongButtonOnAPointOnlyBlinks) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f, -1);  // rejected: "A" leaves it
  add_fe2(t, 80.0f, 7.6f);      // in use: "D" leaves it
  add_fe1(t, 60.0f, 7.5f, 0);   // flag 0: never changed, drawn rejected
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{40.0f, 7.4f, 'A'}, {80.0f, 7.6f, 'D'}, {60.0f, 7.5f, 'A'},
                 {60.0f, 7.5f, 'D'}});
  plot.show(device, t, "S", kWidthFrame);
  EXPECT_EQ(t.fe1.lines[0].use_flag, -1);
  EXPECT_EQ(t.fe2.lines[0].use_flag, 2);
  EXPECT_EQ(t.fe1.lines[1].use_flag, 0);
  // Five passes draw each point; each was erased (blinked) at its events,
  // the last point also at the final NUL, which picks where the cursor is.
  EXPECT_EQ(count_of(device.calls(), "pt1 40 7.4 5"), 5u + 1u);
  EXPECT_EQ(count_of(device.calls(), "pt1 80 7.6 6"), 5u + 1u);
  EXPECT_EQ(count_of(device.calls(), "pt1 60 7.5 5"), 5u + 3u);
  // Only the Fe II line is in use: the mean is its abundance.
  EXPECT_GE(count_of(device.calls(), "line 0 150 7.6 7.6"), 3u);
}

TEST(AbundancePlot, NoLineInUseDrawsNoStatisticLines) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  device.script({{40.0f, 7.4f, 'A'}, {40.0f, 7.4f, 'X'}});
  plot.show(device, t, "S", kWidthFrame);
  ASSERT_EQ(t.fe1.lines[0].use_flag, -1);
  const Calls& calls = device.calls();
  // Three lines in the first pass, erased once; none after the rejection.
  std::size_t lines = 0;
  for (const std::string& c : calls) lines += c.rfind("line ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(lines, 6u);
  for (float v : device.numbers()) EXPECT_TRUE(std::isfinite(v));
}

TEST(AbundancePlot, TitlesAndAxesOfBothPlots) {
  struct Case {
    PlotKind kind;
    std::string star;
    std::string label;
  };
  const std::vector<Case> cases = {
      {PlotKind::Width, "HD 123",
       "lab [\\frEquivalent width (mA)] [\\frFe Anundance] [\\frA vs. W relation: HD 123]"},
      {PlotKind::Width, "", "lab [\\frEquivalent width (mA)] [\\frFe Anundance] [\\frA vs. W relation: ]"},
      {PlotKind::Excitation, "SUN",
       "lab [\\frExcitation potential (eV)] [\\frFe Anundance] [\\frA vs. chi relation: SUN]"},
  };
  for (const Case& c : cases) {
    FeTables t;
    add_fe1(t, 40.0f, 7.4f);
    RecordingPlotDevice device;
    AbundancePlot plot(c.kind, "/png");
    plot.show(device, t, c.star, PlotFrame{0.0f, 5.0f, 7.0f, 8.0f});
    EXPECT_EQ(count_of(device.calls(), c.label), 1u) << c.label;
    EXPECT_EQ(device.calls().front(), "beg 0 /png 1 1");
  }
}

TEST(AbundancePlot, ExcitationPlotUsesExcitationAndTheSameTolerance) {
  // On a 0-5 eV axis the x test takes nearly every line: a pick selects by
  // abundance alone.
  FeTables t;
  add_fe1(t, 40.0f, 7.40f, 1, 0.5f);
  add_fe1(t, 90.0f, 7.41f, 1, 2.4f);
  add_fe2(t, 20.0f, 7.60f, 2, 2.0f);
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Excitation, "/xw");
  device.script({{2.0f, 7.405f, 'A'}});
  plot.show(device, t, "S", PlotFrame{0.0f, 5.0f, 7.0f, 8.0f});
  // Drawn at (excitation, abundance), then erased with the same marker.
  EXPECT_EQ(count_of(device.calls(), "pt1 0.5 7.4 4"), 2u);
  EXPECT_EQ(t.fe1.lines[0].use_flag, -1);
  EXPECT_EQ(t.fe1.lines[1].use_flag, -1);
  EXPECT_EQ(t.fe2.lines[0].use_flag, 2);
}

TEST(AbundancePlot, ADeviceThatDoesNotOpenGetsNoFurtherCall) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  RecordingPlotDevice device;
  device.set_begin_status(0);
  AbundancePlot plot(PlotKind::Width, "/xw");
  bool opened = false;
  plot.set_reports({[&opened] { opened = true; }, {}});
  device.script({{40.0f, 7.4f, 'A'}});
  EXPECT_EQ(plot.show(device, t, "S", kWidthFrame), PlotExit::DeviceNotOpened);
  EXPECT_EQ(device.calls(), (Calls{"beg 0 /xw 1 1"}));
  EXPECT_FALSE(opened);
  EXPECT_EQ(t.fe1.lines[0].use_flag, 1);
}

TEST(AbundancePlot, ReportsTheOpenOnceAndEveryChangedLine) {
  FeTables t;
  add_fe1(t, 50.0f, 7.50f);
  add_fe2(t, 51.0f, 7.51f);
  add_fe1(t, 52.0f, 7.49f, -1);  // already rejected: "A" does not change it
  RecordingPlotDevice device;
  AbundancePlot plot(PlotKind::Width, "/xw");
  int opened = 0;
  std::vector<std::string> changes;
  plot.set_reports({[&opened] { ++opened; },
                    [&changes](const ironsift::FeLine& line, const ironsift::FeSpecies& s) {
                      changes.push_back(std::string(s.name) + " " +
                                        std::to_string(line.line_number) + " " +
                                        std::to_string(line.use_flag));
                    }});
  // "A" takes two lines; "X" on them changes nothing; "D" gives all three back.
  device.script({{51.0f, 7.50f, 'A'}, {51.0f, 7.50f, 'X'}, {51.0f, 7.50f, 'D'}});
  plot.show(device, t, "S", kWidthFrame);
  device.script({{51.0f, 7.50f, 'A'}});
  plot.show(device, t, "S", kWidthFrame);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(changes, (std::vector<std::string>{"Fe I 101 -1", "Fe II 201 -2", "Fe I 101 1",
                                               "Fe I 102 1", "Fe II 201 2", "Fe I 101 -1",
                                               "Fe I 102 -1", "Fe II 201 -2"}));
}

TEST(AbundancePlot, EachPlotKeepsItsOwnState) {
  FeTables t;
  add_fe1(t, 40.0f, 7.4f);
  RecordingPlotDevice device;
  AbundancePlot width(PlotKind::Width, "/xw");
  AbundancePlot excitation(PlotKind::Excitation, "/xw");
  device.script({{100.0f, 7.9f, '\0'}});
  width.show(device, t, "S", kWidthFrame);
  device.clear();
  excitation.show(device, t, "S", PlotFrame{0.0f, 5.0f, 7.0f, 8.0f});
  EXPECT_EQ(device.calls().front(), "beg 0 /xw 1 1");
  EXPECT_EQ(excitation.cursor().x, 0.0f);
  EXPECT_EQ(width.cursor().x, 100.0f);
}

}  // namespace
