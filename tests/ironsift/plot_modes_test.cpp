// The plot modes: how a plot call ends the program, the messages on standard
// error, and the listing of the rejected lines after the plot returns.
#include "plot_modes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fe_lines.h"
#include "fe_tables.h"
#include "record_reader.h"
#include "recording_plot_device.h"

namespace {

using ironsift::FeLoadStatus;
using ironsift::FeTables;
using ironsift::RangeTrackers;
using ironsift_test::abd;

const ironsift::PlotFrame kWidthFrame{0.0f, 150.0f, 7.0f, 8.0f};

TEST(PlotModes, HowAPlotCallEndsTheProgram) {
  struct Case {
    const char* what;
    int begin_status;
    ironsift_test::CursorEvent event;
    int status;
    const char* stderr_text;
  };
  const std::vector<Case> cases = {
      {"D outside the frame: status 0, nothing said", 1, {150.5f, 7.5f, 'D'}, 0, "^$"},
      {"no device: status 1 and the message", 0, {40.0f, 7.4f, 'A'}, 1,
       "^ironsift: cannot open the graphics device \"/xw\"[^\n]*Nothing was written\\.\n$"},
  };
  for (const Case& c : cases) {
    ironsift::IronsiftState state;
    ironsift_test::add_fe1(state.fe, 149.0f, 7.5f);
    EXPECT_EXIT(
        {
          ironsift_test::RecordingPlotDevice device;
          device.set_begin_status(c.begin_status);
          ironsift::AbundancePlot plot(ironsift::PlotKind::Width, "/xw");
          device.script({c.event});
          ironsift::show_plot_or_stop(plot, device, state, kWidthFrame);
          std::exit(3);  // not reached when the stop works
        },
        testing::ExitedWithCode(c.status), c.stderr_text)
        << c.what;
  }
}

TEST(PlotModes, DeviceFailureSaysWhatToDo) {
  struct Case {
    const char* device;
    bool display_set;
    std::string expected;
  };
  const std::string advice =
      ". Set DISPLAY to an X display for the plot window, or PGPLOT_DEV=file.png/png to draw "
      "the plot into a picture file. Nothing was written.";
  const std::vector<Case> cases = {
      {"/xw", false, "ironsift: cannot open the graphics device \"/xw\" (DISPLAY is not set)" + advice},
      {"/XWIN", false,
       "ironsift: cannot open the graphics device \"/XWIN\" (DISPLAY is not set)" + advice},
      {"/xw", true, "ironsift: cannot open the graphics device \"/xw\"" + advice},
      {"out/x.png/png", false, "ironsift: cannot open the graphics device \"out/x.png/png\"" + advice},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ironsift::device_failure_message(c.device, c.display_set), c.expected) << c.device;
  }
}

TEST(PlotModes, AChangedLineIsNamedWithItsWavelengthFromTheLineTable) {
  ironsift::IronsiftState state;
  state.line_table[0] = {12, 4531.62};
  state.line_table[1] = {12, 9999.0};  // only the first entry of a number counts
  ironsift::FeLine line;
  line.line_number = 12;
  line.width = 80.04f;
  line.abundance = 7.2f;
  line.use_flag = -1;
  EXPECT_EQ(ironsift::flag_change_line(line, ironsift::kFe1, state),
            "rejected: line 12, Fe I, 4531.620 A, W = 80.0 mA, A = 7.200");
  line.line_number = 501;
  line.use_flag = 2;
  EXPECT_EQ(ironsift::flag_change_line(line, ironsift::kFe2, state),
            "restored: line 501, Fe II, wavelength not in params.dat, W = 80.0 mA, A = 7.200");
}

FeLoadStatus load(const std::vector<std::string>& records, FeTables& tables) {
  velko::RecordReader reader = velko::RecordReader::from_texts(records);
  RangeTrackers ranges;
  return ironsift::read_fe_tables(reader, tables, ranges);
}

TEST(RejectedListing, ListsRejectedLinesWithNegativeWidths) {
  FeTables t;
  const std::vector<std::string> records = {
      abd(11, "26.00", 3.65, 44.2, 7.486, 0.0), abd(12, "26.01", 2.86, 87.3, 0.0, 7.660),
      abd(13, "26.00", 1.20, 3.2, 7.230, 0.0)};
  ASSERT_EQ(load(records, t), FeLoadStatus::Loaded);
  t.fe1.lines[1].use_flag = -1;
  t.fe2.lines[0].use_flag = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(ironsift::list_rejected_lines(t), 2);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string expected = " You have escaped from the graphics mode...\n"
                               " List of manually rejected lines are as follows:\n"
                               "  13   -3.2 " + records[2].substr(4, 29) + "\n"
                               "  12  -87.3 " + records[1].substr(4, 29) + "\n"
                               "( 2 lines will be rejected)\n";
  EXPECT_EQ(out, expected);
}

TEST(RejectedListing, HundredRejectedLinesOverflowTheCountField) {
  FeTables t;
  for (int i = 0; i < 100; ++i) {
    auto& line = t.fe1.lines[static_cast<std::size_t>(t.fe1.count++)];
    line.use_flag = -1;
    line.record = std::string(80, ' ');
  }
  testing::internal::CaptureStdout();
  ironsift::list_rejected_lines(t);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("(** lines will be rejected)\n"), std::string::npos);
}

}  // namespace
