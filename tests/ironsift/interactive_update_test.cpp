// The interactive path of the line-list update: records O2 and D2, ".obs"
// rewritten, ".del" extended, "r" back to the plot, "x" touching nothing.
#include <gtest/gtest.h>

#include <string>

#include "run_support.h"

namespace ironsift_test {
namespace {

const std::string kDriver = INTERACTIVE_UPDATE_DRIVER_PATH;

// Fe I lines 1, 3, 4 and Fe II line 2; line 3 has a negative width.
const std::string kStarAbd =
    "# HD123 abundances\n"
    "   1  26.00  0.0  4.220  0.0   45.6  7.512  0.000\n"
    "   2  26.01  0.0  2.890  0.0   33.3  0.000  7.480\n"
    "   3  26.00  0.0  3.300  0.0  -12.3  7.400  0.000\n"
    "   4  26.00  0.0  1.010  0.0  104.9  7.560  0.000\n";

const std::string kQuestion = " May I update HD123.obs ?\n";
const std::string kPromptB = " GO->\"g\", redo->\"r\",stop -> \"x\"\n";

TEST(InteractiveUpdate, GoRewritesTheListAndAppendsToTheLog) {
  ScratchDir dir;
  write_file(dir.file("HD123.abd"), kStarAbd);
  write_file(dir.file("HD123.del"), "an old deletion\n");

  ProgramRun run = run_program_in(kDriver, dir.path(), {"HD123", "2,4"}, "g\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kQuestion + kPromptB + " file update finished !\n");
  EXPECT_EQ(read_file(dir.file("HD123.obs")),
            "   1   45.6   26.00  0.0  4.220  0.0   45\n"
            "   3   12.3   26.00  0.0  3.300  0.0  -12\n");
  const std::string first_log =
      "an old deletion\n"
      "   4 -104.9   26.00  0.0  1.010  0.0  104\n"
      "   2  -33.3   26.01  0.0  2.890  0.0   33\n";
  EXPECT_EQ(read_file(dir.file("HD123.del")), first_log);

  // A second run: the list holds only its accepted lines, the log both runs'.
  run = run_program_in(kDriver, dir.path(), {"HD123", "1"}, "g\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read_file(dir.file("HD123.obs")),
            "   3   12.3   26.00  0.0  3.300  0.0  -12\n"
            "   4  104.9   26.00  0.0  1.010  0.0  104\n"
            "   2   33.3   26.01  0.0  2.890  0.0   33\n");
  EXPECT_EQ(read_file(dir.file("HD123.del")),
            first_log + "   1  -45.6   26.00  0.0  4.220  0.0   45\n");
}

TEST(InteractiveUpdate, RedoReturnsToThePlotAndStopTouchesNothing) {
  ScratchDir dir;
  write_file(dir.file("HD123.abd"), kStarAbd);
  const ProgramRun run = run_program_in(kDriver, dir.path(), {"HD123", "2"}, "G\nr\nx\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kQuestion + kPromptB + kPromptB +
                         " OK, then try again in the graphics window...\n(plot)\n" + kQuestion +
                         kPromptB + " Aborted and stopted!\n");
  EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
  EXPECT_EQ(read_file(dir.file("HD123.del")), std::nullopt);
}

}  // namespace
}  // namespace ironsift_test
