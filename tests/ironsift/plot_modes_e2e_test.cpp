// Run modes "w" and "c" end to end on a picture-file device, which has no
// cursor: the plot makes one pass and returns, and the run goes on to the
// listing and the update question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "run_support.h"

namespace {

using ironsift_test::ProgramRun;
using ironsift_test::ScratchDir;

const std::string kIronsift = IRONSIFT_PATH;
const std::string kLeakSuppressions = "suppressions=" GRAPHICS_LEAKS_SUPP;

std::string abd(int line, const char* species, double chi, double width, double a1, double a2) {
  char text[100];
  std::snprintf(text, sizeof text, "%4d %s  4500.000  %4.2f -1.000  %6.1f  %5.3f  %5.3f", line,
                species, chi, width, a1, a2);
  return std::string(text) + "\n";
}

// Three Fe I lines, one Fe II line, one titanium line.
std::string star_abd() {
  return "# line species wavelength chi loggf EW A(FeI) A(FeII)\n" +
         abd(11, "26.00", 3.65, 44.2, 7.486, 0.0) + abd(12, "26.01", 2.86, 87.3, 0.0, 7.660) +
         abd(13, "22.00", 1.00, 12.0, 4.9, 0.0) + abd(14, "26.00", 1.20, 33.2, 7.230, 0.0) +
         abd(15, "26.00", 4.20, 63.0, 7.555, 0.0);
}

class PlotModesEndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    ironsift_test::write_file(dir_.file("params.dat"), ironsift_test::params_text({}));
  }
  // device: PGPLOT_DEV, or unset (the window) when nullopt; display: DISPLAY.
  ProgramRun run(const std::vector<std::string>& args, const std::string& keys,
                 const std::optional<std::string>& device,
                 const std::optional<std::string>& display = std::nullopt) {
    return ironsift_test::run_program_in(kIronsift, dir_.path(), args, keys,
                                         {{"PGPLOT_DEV", device},
                                          {"DISPLAY", display},
                                          {"LSAN_OPTIONS", kLeakSuppressions}});
  }
  std::string file(const std::string& name) { return dir_.file(name); }
  ScratchDir dir_;
};

bool is_png_of_at_least(const std::optional<std::string>& bytes, std::size_t size) {
  return bytes && bytes->size() >= size && bytes->compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
         bytes->find("IEND") != std::string::npos;
}

TEST_F(PlotModesEndToEnd, FileDeviceWritesThePictureAndGoWritesAllLines) {
  for (const char* mode : {"w", "c"}) {
    ironsift_test::write_file(file("HD123.abd"), star_abd());
    const std::string picture = std::string("HD123_") + mode + ".png";
    const ProgramRun r = run({"HD123", mode}, "g", file(picture) + "/png");
    EXPECT_EQ(r.status, 0) << mode << r.err;
    EXPECT_NE(r.out.find(" You have escaped from the graphics mode...\n"
                         " List of manually rejected lines are as follows:\n"
                         "( 0 lines will be rejected)\n"
                         " May I update HD123.obs ?\n"
                         " GO->\"g\", redo->\"r\",stop -> \"x\"\n"
                         " file update finished !\n"),
              std::string::npos)
        << r.out;
    // Fe I lines first, then Fe II, each in file order; titanium nowhere.
    const auto obs = ironsift_test::read_file(file("HD123.obs"));
    ASSERT_TRUE(obs);
    EXPECT_EQ(obs->substr(0, 12), "  11   44.2 ");
    EXPECT_NE(obs->find("\n  14   33.2 "), std::string::npos);
    EXPECT_NE(obs->find("\n  12   87.3 "), std::string::npos);
    EXPECT_EQ(obs->find("  13 "), std::string::npos);
    EXPECT_EQ(ironsift_test::read_file(file("HD123.del")), std::string());
    // The picture is complete: closed once when the program ended.
    EXPECT_TRUE(is_png_of_at_least(ironsift_test::read_file(file(picture)), 5000)) << mode;
  }
}

TEST_F(PlotModesEndToEnd, RedoShowsThePlotAgainAndStopWritesNothing) {
  ironsift_test::write_file(file("HD123.abd"), star_abd());
  const ProgramRun r = run({"HD123", "w"}, "r\nQ\nx", file("redo.png") + "/png");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string heading = " You have escaped from the graphics mode...\n";
  const std::size_t first = r.out.find(heading);
  ASSERT_NE(first, std::string::npos) << r.out;
  const std::size_t again = r.out.find(" OK, then try again in the graphics window...\n");
  ASSERT_NE(again, std::string::npos);
  EXPECT_NE(r.out.find(heading, again), std::string::npos);
  EXPECT_NE(r.out.find(" Aborted and stopted!\n"), std::string::npos);
  EXPECT_FALSE(ironsift_test::read_file(file("HD123.obs")));
  EXPECT_FALSE(ironsift_test::read_file(file("HD123.del")));
  EXPECT_TRUE(is_png_of_at_least(ironsift_test::read_file(file("redo.png")), 5000));
}

TEST_F(PlotModesEndToEnd, NoWindowNoPretence) {
  // Without a display (or with a device the library does not know) the run
  // stops before the update question: status 1, one message naming the
  // device and what to do, nothing written, and no flood of library errors.
  struct Case {
    const char* what;
    std::optional<std::string> device;
    std::optional<std::string> display;
    std::string device_text;
    std::size_t stderr_lines;  // the library's own line for an unknown device, then ours
  };
  const std::vector<Case> cases = {
      {"DISPLAY unset", std::nullopt, std::nullopt, "\"/xw\" (DISPLAY is not set)", 1},
      {"DISPLAY blank", std::string("/xw"), std::string("  "), "\"/xw\" (DISPLAY is not set)", 1},
      {"unknown device", std::string("/nosuchdevice"), std::nullopt, "\"/nosuchdevice\"", 2},
  };
  for (const Case& c : cases) {
    ironsift_test::write_file(file("HD123.abd"), star_abd());
    const ProgramRun r = run({"HD123", "w"}, "g", c.device, c.display);
    EXPECT_EQ(r.status, 1) << c.what << r.err;
    EXPECT_EQ(r.out, "") << c.what;
    const std::string message = "ironsift: cannot open the graphics device " + c.device_text +
                                ". Set DISPLAY to an X display for the plot window, or "
                                "PGPLOT_DEV=file.png/png to draw the plot into a picture file. "
                                "Nothing was written.\n";
    ASSERT_GE(r.err.size(), message.size()) << c.what;
    EXPECT_EQ(r.err.substr(r.err.size() - message.size()), message) << c.what << r.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(r.err.begin(), r.err.end(), '\n')),
              c.stderr_lines)
        << c.what << r.err;
    EXPECT_FALSE(ironsift_test::read_file(file("HD123.obs"))) << c.what;
    EXPECT_FALSE(ironsift_test::read_file(file("HD123.del"))) << c.what;
  }
}

TEST_F(PlotModesEndToEnd, RecordsAfterThe999thThatHoldNoFeLineAreLeftWithAWarning) {
  std::string records = star_abd();  // 6 records
  for (int i = 0; i < 993; ++i) records += "# filler\n";
  ironsift_test::write_file(file("HD123.abd"), records + "\n# end of results\n");
  const ProgramRun r = run({"HD123", "w"}, "g", file("rest.png") + "/png");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Warning: HD123.abd: only the first 999 records are read; the rest hold "
                       "no Fe I or Fe II line and are not read\n"),
            std::string::npos)
      << r.err;
  const auto obs = ironsift_test::read_file(file("HD123.obs"));
  ASSERT_TRUE(obs);
  EXPECT_EQ(std::count(obs->begin(), obs->end(), '\n'), 4);
  // An Fe line after the 999th record is refused, nothing written.
  std::remove(file("HD123.obs").c_str());
  ironsift_test::write_file(file("HD123.abd"),
                            records + abd(16, "26.00", 2.0, 40.0, 7.5, 0.0));
  const ProgramRun refused = run({"HD123", "w"}, "g", file("rest.png") + "/png");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, " More than 999 records in HD123.abd: the lines after the 999th would "
                         "be lost from the line list.\n");
  EXPECT_FALSE(ironsift_test::read_file(file("HD123.obs")));
}

TEST_F(PlotModesEndToEnd, FilesThatCannotBePlottedStopWithAMessage) {
  struct Case {
    const char* what;
    std::optional<std::string> abd;
    std::string message;
  };
  std::string too_many_fe2 = "# 29 Fe II lines\n";
  for (int i = 0; i < 29; ++i) too_many_fe2 += abd(100 + i, "26.01", 2.0, 50.0, 0.0, 7.5);
  const std::vector<Case> cases = {
      {"missing", std::nullopt, " H: why not exist ? --> HD123.abd\n"},
      {"no Fe line", "# only titanium\n" + abd(13, "22.00", 1.0, 12.0, 4.9, 0.0),
       " No Fe I (26.00) or Fe II (26.01) line in HD123.abd: nothing to plot.\n"},
      {"too many Fe II", too_many_fe2,
       " More Fe II (26.01) lines in HD123.abd than the 28 that the Fe II table holds.\n"},
      {"too large", std::string("  11 26.00  4500.000  1.00 -1.000  12.0  3.0e38  0.0\n"),
       " Widths or abundances in HD123.abd are too large to plot.\n"},
  };
  for (const Case& c : cases) {
    std::remove(file("HD123.abd").c_str());
    if (c.abd) ironsift_test::write_file(file("HD123.abd"), *c.abd);
    const ProgramRun r = run({"HD123", "c"}, "g", file("never.png") + "/png");
    EXPECT_EQ(r.status, 1) << c.what;
    EXPECT_EQ(r.out, c.message) << c.what;
    EXPECT_FALSE(ironsift_test::read_file(file("HD123.obs"))) << c.what;
    EXPECT_FALSE(ironsift_test::read_file(file("never.png"))) << c.what;
  }
}

}  // namespace
