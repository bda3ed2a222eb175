// End-to-end runs of ironsift in run mode "i": start-up, the ".wdt" match, the
// threshold dialogue, the listing and the written ".obs" and ".del".
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "run_support.h"

namespace ironsift_test {
namespace {

const std::string kIronsift = IRONSIFT_PATH;

// The table lines of the fixture; the rest of the 330 are far-away fillers.
const std::vector<TableLine> kTable = {
    {101, 5000.000},  // 40.0 and 60.0: mean 50.0
    {102, 5001.000},  // 30.0 and -5.0: mean 30.0 from the positive one, n = 2
    {103, 5002.000},  // matched at 5002.010; 5002.020 is not
    {104, 5003.000},  // 5003.010 lies within 0.02 of 104 and 105: 104 takes it
    {105, 5003.015},  // 5003.025 is 0.025 from 104: 105 takes it
    {106, 5004.000},  // seven measurements: a continuation record
    {107, 5005.000},  // widths 0.0 and -3.0 only: no mean
    {108, 5006.000},  // no measurement: written nowhere
    {109, 5007.000},  // an Fe II measurement of 80.0
};

std::string fixture_wdt() {
  std::string wdt = "Star HD123, measured widths\n";
  wdt += wdt_record("26.00", " 5000.000", "   40.0", "S01");
  wdt += wdt_record("26.02", " 5000.000", "  999.0", "BAD");  // other species: ignored
  wdt += "26.00  5000.000 starts in column 1: not a measurement record\n";
  wdt += wdt_record("26.00", " 5001.000", "   30.0", "S01");
  wdt += wdt_record("26.00", " 5002.010", "   20.0", "S01");
  wdt += wdt_record("26.00", " 5002.020", "  900.0", "OFF");  // 0.020 away: no match
  wdt += wdt_record("26.00", " 5003.010", "   15.0", "S01");
  wdt += wdt_record("26.00", " 5003.025", "   16.0", "S01");
  for (int k = 1; k <= 7; ++k) {
    wdt += wdt_record("26.00", " 5004.000", "   " + std::to_string(k) + "0.0",
                      "M0" + std::to_string(k));
  }
  wdt += wdt_record("26.00", " 5005.000", "    0.0", "Z01");
  wdt += wdt_record("26.00", " 5005.000", "   -3.0", "Z02");
  wdt += wdt_record("26.01", " 5007.000", "   80.0", "F01", "  fe2ii");
  wdt += wdt_record("26.00", " 5000.000", "   60.0", "T02");   // second of line 101
  wdt += wdt_record("26.00", " 5001.000", "   -5.0", "T02");   // second of line 102
  return wdt;
}

// Columns 1-21 and 22-27 of a fixture record with a blank between them, as
// the listing and the written records show them (fields A21, 1X, A6).
std::string head(const std::string& wavelength9, const std::string& species = "26.00") {
  return " " + species + wavelength9 + " 3.300" + " " + " -2.18";
}

void write_fixture(const ScratchDir& dir) {
  write_file(dir.file("params.dat"), params_text(kTable));
  write_file(dir.file("HD123.wdt"), fixture_wdt());
}

const std::string kPromptA = "go->\"g\", retry other ewcrt ->\"r\", stop-> \"x\"\n";

TEST(ThresholdRun, WithoutReferenceListsAndWritesEveryMeasuredLine) {
  ScratchDir dir;
  write_fixture(dir);
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "50\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string expected_out =
      " ewcrt? (in mA) (just [Enter] --> infinity, no screening)\n"
      "OK, lines stronger than     50.0 mA are not used.\n"
      " Following lines will be rejected...\n"
      "exceed   101  -50.0 " + head(" 5000.000") + "   src01  >   2   40.0  60.0\n"
      "no width 107   -0.0 " + head(" 5005.000") + "   src01  -   2    0.0  -3.0\n"
      "exceed   109  -80.0 " + head(" 5007.000", "26.01") + "   fe2ii  >   1   80.0\n"
      " May I update HD123.obs ?\n" + kPromptA +
      " file update finished !\n";
  EXPECT_EQ(run.out, expected_out);

  const std::string expected_obs =
      " 102   30.0 " + head(" 5001.000") + "   src01      2   30.0 S01  -5.0 T02\n"
      " 103   20.0 " + head(" 5002.010") + "   src01      1   20.0 S01\n"
      " 104   15.0 " + head(" 5003.010") + "   src01      1   15.0 S01\n"
      " 105   16.0 " + head(" 5003.025") + "   src01      1   16.0 S01\n"
      " 106   40.0 " + head(" 5004.000") + "   src01      7"
      "   10.0 M01  20.0 M02  30.0 M03  40.0 M04  50.0 M05  60.0 M06\n"
      "  70.0 M07\n";
  const std::string expected_del =
      " 101  -50.0 " + head(" 5000.000") + "   src01  >   2   40.0 S01  60.0 T02\n"
      " 107   -0.0 " + head(" 5005.000") + "   src01  -   2    0.0 Z01  -3.0 Z02\n"
      " 109  -80.0 " + head(" 5007.000", "26.01") + "   fe2ii  >   1   80.0 F01\n";
  EXPECT_EQ(read_file(dir.file("HD123.obs")), expected_obs);
  EXPECT_EQ(read_file(dir.file("HD123.del")), expected_del);
}


// The reference star: 101 with a width, 102 with a negative width (no
// measurement), 103 only in a comment, and a line number outside 1..9999.
const std::string kSunAbd =
    "# SUN reference: line species - chi - EW A(FeI) A(FeII)\n"
    "  101  26.00  0.0  3.30  0.0   45.0  7.50  0.00\n"
    "  102  26.00  0.0  3.30  0.0   -1.0  7.50  0.00\n"
    "#  103  26.00  0.0  3.30  0.0   25.0  7.50  0.00\n"
    "  104  26.00  0.0  3.30  0.0   15.0  7.50  0.00\n"
    "  105  26.00  0.0  3.30  0.0   16.0  7.50  0.00\n"
    "  106  26.00  0.0  3.30  0.0   40.0  7.50  0.00\n"
    "  107  26.00  0.0  3.30  0.0    1.0  7.50  0.00\n"
    "  109  26.01  0.0  3.30  0.0   80.0  0.00  7.45\n"
    "12345  26.00  0.0  3.30  0.0   10.0  7.50  0.00\n";

const std::string kObsWithSun =
    " 101   50.0 " + head(" 5000.000") + "   src01      2   40.0 S01  60.0 T02\n"
    " 104   15.0 " + head(" 5003.010") + "   src01      1   15.0 S01\n"
    " 105   16.0 " + head(" 5003.025") + "   src01      1   16.0 S01\n"
    " 106   40.0 " + head(" 5004.000") + "   src01      7"
    "   10.0 M01  20.0 M02  30.0 M03  40.0 M04  50.0 M05  60.0 M06\n"
    "  70.0 M07\n"
    " 109   80.0 " + head(" 5007.000", "26.01") + "   fe2ii      1   80.0 F01\n";
const std::string kDelWithSun =
    " 102  -30.0 " + head(" 5001.000") + "   src01  #   2   30.0 S01  -5.0 T02\n"
    " 103  -20.0 " + head(" 5002.010") + "   src01  #   1   20.0 S01\n"
    " 107   -0.0 " + head(" 5005.000") + "   src01  -   2    0.0 Z01  -3.0 Z02\n";

int count_of(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(ThresholdRun, ReferenceWithDataNamesTheListAndRejectsLinesItLacks) {
  ScratchDir dir;
  write_fixture(dir);
  write_file(dir.file("SUN.abd"), kSunAbd);
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123/SUN", "i"}, "\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string expected_out =
      " ewcrt? (in mA) (just [Enter] --> infinity, no screening)\n"
      " EW threshould is set to infinity.\n"
      " Following lines will be rejected...\n"
      "no refs  102  -30.0 " + head(" 5001.000") + "   src01  #   2   30.0  -5.0\n"
      "no refs  103  -20.0 " + head(" 5002.010") + "   src01  #   1   20.0\n"
      "no width 107   -0.0 " + head(" 5005.000") + "   src01  -   2    0.0  -3.0\n"
      " May I update HD123~SUN.obs ?\n" + kPromptA +
      " file update finished !\n";
  EXPECT_EQ(run.out, expected_out);
  // The record with line number 12345 is passed over, not silently.
  EXPECT_NE(run.err.find("SUN.abd record 10: line number 12345"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(dir.file("HD123~SUN.obs")), kObsWithSun);
  EXPECT_EQ(read_file(dir.file("HD123.del")), kDelWithSun);
  EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
}

TEST(ThresholdRun, RetryThenGoWritesTheLastPassAndReplacesTheOldLog) {
  ScratchDir dir;
  write_fixture(dir);
  write_file(dir.file("SUN.abd"), kSunAbd);
  write_file(dir.file("HD123.del"), "an old deletion log\n");
  // Blanks around the names do not reach the file names.
  const ProgramRun run =
      run_program_in(kIronsift, dir.path(), {" HD123 /SUN", "i"}, "35\nr\n\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  // The first pass rejects 101 and 106 at the threshold, even though the
  // reference has them; the second pass (infinity) keeps them. The widths of
  // 106 beyond five go on a further record, under the first five.
  EXPECT_NE(run.out.find("exceed   101  -50.0 "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("exceed   106  -40.0 " + head(" 5004.000") +
                         "   src01  >   7   10.0  20.0  30.0  40.0  50.0\n" +
                         std::string(64, ' ') + "  60.0  70.0\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(count_of(run.out, " May I update HD123~SUN.obs ?\n"), 2);
  EXPECT_EQ(read_file(dir.file("HD123~SUN.obs")), kObsWithSun);
  EXPECT_EQ(read_file(dir.file("HD123.del")), kDelWithSun);
}

TEST(ThresholdRun, ReferenceWithOnlyCommentsKeepsTheStarNameAndLacksEveryLine) {
  ScratchDir dir;
  write_fixture(dir);
  write_file(dir.file("SUN.abd"), "# nothing measured\n#  101  26.00 0 3.3 0 45.0 7.5 0\n");
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123/SUN", "i"}, "\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(" May I update HD123.obs ?\n"), std::string::npos) << run.out;
  EXPECT_EQ(count_of(run.out, "no refs "), 7);
  EXPECT_EQ(read_file(dir.file("HD123.obs")), "");
  EXPECT_EQ(count_of(read_file(dir.file("HD123.del")).value_or(""), "\n"), 9);
}

TEST(ThresholdRun, StopAfterRetryLeavesEveryFileAsItWas) {
  ScratchDir dir;
  write_fixture(dir);
  write_file(dir.file("HD123.obs"), "old list\n");
  write_file(dir.file("HD123.del"), "old log\n");
  // Upper-case and other keys are ignored: the prompt is written again.
  const ProgramRun run =
      run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "50\nr\n60\nG\nq\nR\nx\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(count_of(run.out, kPromptA), 5);
  const std::string ending = " May I update HD123.obs ?\n" + kPromptA + kPromptA + kPromptA +
                             kPromptA + " Aborted and stopted!\n";
  ASSERT_GE(run.out.size(), ending.size());
  EXPECT_EQ(run.out.substr(run.out.size() - ending.size()), ending);
  EXPECT_EQ(read_file(dir.file("HD123.obs")), "old list\n");
  EXPECT_EQ(read_file(dir.file("HD123.del")), "old log\n");
}

TEST(ThresholdRun, MissingWidthFileGivesNoLinesAndEmptyFiles) {
  ScratchDir dir;
  write_file(dir.file("params.dat"), params_text(kTable));
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            " ewcrt? (in mA) (just [Enter] --> infinity, no screening)\n"
            " EW threshould is set to infinity.\n"
            " Following lines will be rejected...\n"
            " (In this case, no lines deleted.)\n"
            " May I update HD123.obs ?\n" + kPromptA + " file update finished !\n");
  EXPECT_EQ(read_file(dir.file("HD123.obs")), "");
  EXPECT_EQ(read_file(dir.file("HD123.del")), "");
  EXPECT_EQ(read_file(dir.file("HD123.wdt")), "");  // opened, so created empty
  // ... and said: a mistyped star name does not pass silently.
  EXPECT_EQ(run.err,
            "Warning: HD123.wdt did not exist and was created empty: no line has a measurement "
            "(is the star name right?)\n");
}

TEST(ThresholdRun, EndOfInputMeansInfinityAtTheThresholdAndStopsAtTheKey) {
  ScratchDir dir;
  write_fixture(dir);
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(" EW threshould is set to infinity.\n"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("end of input"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
  EXPECT_EQ(read_file(dir.file("HD123.del")), std::nullopt);
}

TEST(ThresholdRun, MoreThanTenMeasurementsKeepsTenAndWarns) {
  ScratchDir dir;
  write_file(dir.file("params.dat"), params_text(kTable));
  std::string wdt;
  for (int k = 0; k < 11; ++k) {
    wdt += wdt_record("26.00", " 5000.000", "   1" + std::to_string(k % 10) + ".0", "M1" + std::to_string(k % 10));
  }
  write_file(dir.file("HD123.wdt"), wdt);
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\ng\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("HD123.wdt record 11: line 101"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(dir.file("HD123.obs")),
            " 101   14.5 " + head(" 5000.000") + "   src01     10"
            "   10.0 M10  11.0 M11  12.0 M12  13.0 M13  14.0 M14  15.0 M15\n"
            "  16.0 M16  17.0 M17  18.0 M18  19.0 M19\n");
}

TEST(ThresholdRun, UnreadableWidthEndsWithAReportNamingTheFile) {
  ScratchDir dir;
  write_file(dir.file("params.dat"), params_text(kTable));
  write_file(dir.file("HD123.wdt"), wdt_record("26.00", " 5000.000", "   4x.0", "S01"));
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\ng\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("input conversion error"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("HD123.wdt"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
}

// The stops that report a failure: message on the console, status 1, no
// file written or created.
struct FailureCase {
  const char* name;
  std::string params;
  std::vector<std::string> args;
  std::string expected_out;
};

TEST(StartUp, FailureStopsWriteTheirMessageAndExitWithStatusOne) {
  const std::vector<FailureCase> cases = {
      {"count 329", params_text(kTable, 329, 329), {"HD123", "i"}, " mzx,MLN  329 330\n"},
      {"count 331", params_text(kTable, 331, 331), {"HD123", "i"}, " mzx,MLN  331 330\n"},
      {"count unreadable", " 1\n 2\n 3\n 4\n many\n", {"HD123", "i"}, " mzx,MLN  0 330\n"},
      {"upper-case mode", params_text(kTable), {"HD123", "W"},
       " Needed 2nd argument should be any of (i, c, w) !\n"},
      {"no mode", params_text(kTable), {"HD123"},
       " Needed 2nd argument should be any of (i, c, w) !\n"},
      {"missing reference", params_text(kTable), {"HD123/SUN", "i"},
       " R: why not exist ? --> SUN.abd\n"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    write_file(dir.file("params.dat"), c.params);
    const ProgramRun run = run_program_in(kIronsift, dir.path(), c.args, "\ng\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, c.expected_out);
    // Stopped before the star's files were opened.
    EXPECT_EQ(read_file(dir.file("HD123.wdt")), std::nullopt);
    EXPECT_EQ(read_file(dir.file("HD123.obs")), std::nullopt);
  }
}

TEST(StartUp, MissingReferenceSaysHowTheSlashWasRead) {
  ScratchDir dir;
  write_file(dir.file("params.dat"), params_text(kTable));
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {" data/HD123 ", "w"}, "g");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, " R: why not exist ? --> HD123.abd\n");
  EXPECT_EQ(run.err,
            "ironsift: the first argument \"data/HD123\" names the star \"data\" and the "
            "reference star \"HD123\" (STAR/REFERENCE, both in the current directory); the "
            "\"/\" is not a folder: run ironsift in the star's folder.\n");
}

TEST(StartUp, ParameterFileComesFromTheCurrentDirectoryBeforeModDir) {
  ScratchDir dir;
  ScratchDir model_dir;
  write_fixture(dir);
  write_file(model_dir.file("params.dat"), params_text(kTable, 329, 329));
  // The current directory's file is complete: MOD_DIR's wrong count is never seen.
  ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\nx\n",
                                  {{"MOD_DIR", model_dir.path()}});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find(" Aborted and stopted!\n"), std::string::npos);
  // Without it, MOD_DIR's file is read.
  std::remove(dir.file("params.dat").c_str());
  run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\nx\n",
                       {{"MOD_DIR", "  " + model_dir.path() + "  "}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, " mzx,MLN  329 330\n");
}

TEST(StartUp, MissingParameterFileEndsWithAReportAndCreatesNothing) {
  ScratchDir dir;
  ScratchDir model_dir;
  const std::string nowhere =
      "  params.dat was found neither in the current directory nor in MOD_DIR ";
  struct Case {
    std::optional<std::string> mod_dir;
    std::string path;
    std::string further_line;
  };
  const std::vector<Case> cases = {
      {model_dir.path(), model_dir.file("params.dat"), nowhere + "(MOD_DIR=" + model_dir.path() + ")"},
      {std::nullopt, "/params.dat", nowhere + "(MOD_DIR is not set)"},
      {std::string("   "), "/params.dat", nowhere + "(MOD_DIR is not set)"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\nx\n",
                                          {{"MOD_DIR", c.mod_dir}});
    EXPECT_EQ(run.status, 2);
    // The record layer's report, then the further line.
    EXPECT_EQ(run.err, "Fatal error: end-of-file during read, unit 10, file " + c.path +
                           "\n  the data hold no record at all\n" + c.further_line + "\n");
    EXPECT_EQ(read_file(model_dir.file("params.dat")), std::nullopt);
  }
  // A parameter file that exists but is empty gets the report alone.
  write_file(dir.file("params.dat"), "");
  const ProgramRun run = run_program_in(kIronsift, dir.path(), {"HD123", "i"}, "\nx\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "Fatal error: end-of-file during read, unit 10, file ./params.dat\n"
                     "  the data hold no record at all\n");
}

}  // namespace
}  // namespace ironsift_test
