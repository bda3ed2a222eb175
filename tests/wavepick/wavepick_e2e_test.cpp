// End-to-end runs of wavepick in scratch directories: arguments and echo, the
// line set from gf files, the model set-up with the stand-ins, the width run
// and its selection, and the failure stops.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "wavepick_run.h"

namespace wavepick_test {
namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::string>;


std::string blank_padded(const std::string& text, std::size_t n) {
  return text + std::string(n - text.size(), ' ');
}

// A model file of n records that "width" can read (not of the grid form).
std::string small_model(int n) {
  std::string model = "TEFF   5750.  GRAVITY 4.44000 LTE\n";
  for (int i = 1; i < n; ++i) model += "  -4.000    4500.0  1.0000E+02  1.0000E+10\n";
  return model;
}

TEST_F(WavepickRun, RealLinesThroughStandinsFromEndToEnd) {
  fs::copy_file(fs::path(WAVEPICK_FIXTURE_DIR) / "GF0510.10", velko_ / "kbgfdos" / "GF0510.10");
  const RunOutput output =
      run({"5044", "5045", "26.00", kModel, "1.2", "7.50", "10.0", "fe1.sel", "ignored"});
  ASSERT_EQ(output.status, 0) << output.out << output.err;
  EXPECT_EQ(output.err, "");
  const Records expected_console = {
      "w1: 5044.000",
      "w2: 5045.000",
      "cod: 26.00",
      "fnmodel:" + blank_padded(kModel, 60),
      "xi: 1.20",
      "abund: 7.50",
      "fnoutput:" + blank_padded("fe1.sel", 60),
      "n_total =   2",
  };
  Records console = output.out_records();
  ASSERT_EQ(console.size(), 10u) << output.out;
  EXPECT_EQ(Records(console.begin(), console.begin() + 8), expected_console);

  // Both Fe I lines, the first with its lower level given second.
  EXPECT_EQ(work_records("lines.tmp"),
            (Records{" 26.00 5044.211 2.851-2.017  8.18 -5.41 -7.58    0.0",
                     " 26.00 5044.722 3.960-4.302  7.95 -4.43 -7.49    0.0"}));
  // The stand-ins left the model; width got lines and model.
  ASSERT_TRUE(work_file_exists(kModel));
  const Records model = work_records(kModel);
  const Records input = work_records("winput.in");
  ASSERT_EQ(input.size(), 5 + 2 + 1 + model.size() + 2);
  EXPECT_EQ(Records(input.begin(), input.begin() + 5),
            (Records{"VTUR", "    1 1.20", "CURV", "    1    7.50    0.00", "LINE   2"}));
  EXPECT_EQ(input[5], blank_padded(" 26.00 5044.211 2.851-2.017  8.18 -5.41 -7.58    0.0", 80));
  EXPECT_EQ(input[7], "END");
  EXPECT_EQ(input[8], blank_padded(model[0], 80));
  EXPECT_EQ(input[input.size() - 2], "END");
  EXPECT_EQ(input.back(), "STOP");
  EXPECT_EQ(read_work_file("widfiles.lst"),
            "f  5 winput.in  \nf  6            \nf 13            \nf 20            \n"
            "f 22            \nf 44 ewtemp.csv \n");

  // The strong line is selected, the weak one discarded.
  EXPECT_EQ(tail(output, 2), (Records{"nselect =   1", "ndiscard=   1"}));
  const Records selected = work_records("fe1.sel");
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0].size(), 100u);
  EXPECT_EQ(selected[0].substr(0, 45), " 26.00 5044.211 2.851-2.017  8.18 -5.41 -7.58");
  EXPECT_EQ(selected[0].substr(52), " (v= 1.20 A=  7.50)         " + blank_padded(kModel, 20));

  // A second run finds the model and starts no program: the model is kept as is.
  std::ofstream(work_ / kModel, std::ios::app) << "marker\n";
  ASSERT_EQ(run({"5044", "5045", "26.00", kModel, "1.2", "7.50", "10.0", "fe1.sel"}).status, 0);
  EXPECT_EQ(work_records(kModel).back(), "marker");
}

TEST_F(WavepickRun, RangeEndsAndFileBoundaries) {
  write_gf("GF0010.10", {gf_record(5.0, -1.0, "26.00", 0, 100)});
  write_gf("GF0500.10", {gf_record(499.9999, -1.0, "26.00", 0, 100),
                         gf_record(500.0, -1.1, "26.00", 0, 100)});
  write_gf("GF0510.10", {gf_record(500.0, -1.2, "26.00", 0, 100),
                         gf_record(500.0001, -1.3, "26.00", 0, 100),
                         gf_record(500.5, -1.4, "26.00", 0, 100)});
  write_gf("GFEND.10", {gf_record(9950.0, -1.5, "26.00", 0, 100)});
  write_work_file("plain.mod", small_model(3));
  struct Case {
    const char* w1;
    const char* w2;
    Records log_gf;  // columns 22-27 of the lines.tmp records
  };
  const Case cases[] = {
      {"5000", "5000", {"-1.100", "-1.200"}},  // a boundary: both files, only 500 nm exactly
      {"0", "60", {"-1.000"}},                 // from 0: the first file
      {"99000", "1e6", {"-1.500"}},            // above 9900 nm: GFEND.10
      {"5005", "5003", {}},                    // reversed inside one slice
      {"5100", "4950", {}},                    // reversed across slices: no file opened
  };
  for (const Case& c : cases) {
    write_work_file("lines.tmp", "stale record of an earlier run\n");
    const RunOutput output = run({c.w1, c.w2, "26.00", "plain.mod", "1.0", "7.5", "0", "out.sel"});
    ASSERT_EQ(output.status, 0) << c.w1 << ' ' << c.w2 << output.err;
    Records log_gf;
    for (const std::string& r : work_records("lines.tmp")) log_gf.push_back(r.substr(21, 6));
    EXPECT_EQ(log_gf, c.log_gf) << c.w1 << ' ' << c.w2;
  }
  // The gf files that were missing were not created.
  EXPECT_FALSE(fs::exists(velko_ / "kbgfdos" / "GF0020.10"));
  EXPECT_FALSE(fs::exists(velko_ / "kbgfdos" / "GF9900.10"));
}

TEST_F(WavepickRun, SpeciesToleranceEditsAndComments) {
  write_gf("GF0510.10", {
                            "   -5.0000 a comment record led by a minus",
                            "",
                            "# header",
                            "   wavelength list",
                            gf_record(501.0, -1.0, "26.00", 20000.0, 10000.0),  // second level lower
                            gf_record(501.1, -10.0, "26.001", 0, 100),
                            gf_record(501.2, -9.999, "25.999", 0, 100),
                            gf_record(501.3, -1.0, "26.002", 0, 100),
                            gf_record(501.4, -1.0, "26.01", 0, 100),
                        });
  write_work_file("plain.mod", small_model(3));
  const RunOutput output = run({"5000.5", "5099", "26", "plain.mod", "1.0", "7.5", "0", "out.sel"});
  ASSERT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(work_records("lines.tmp"),
            (Records{" 26.00 5010.000 1.240-1.000  8.10 -5.20 -7.30    0.0",
                     " 26.00 5011.000 0.000-10.00  8.10 -5.20 -7.30    0.0",
                     " 26.00 5012.000 0.000-9.999  8.10 -5.20 -7.30    0.0"}));
}

TEST_F(WavepickRun, GfFailures) {
  write_work_file("plain.mod", small_model(3));
  // A line record that cannot be decoded ends the run with the record report.
  write_gf("GF0510.10", {gf_record(501.0, -1.0, "26.00", 0, 100),
                         "   501.1000 -1.0x0 26.00"});
  RunOutput output = run({"5000.5", "5099", "26", "plain.mod", "1.0", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 2);
  EXPECT_NE(output.err.find("input conversion error"), std::string::npos) << output.err;
  EXPECT_NE(output.err.find("kbgfdos/GF0510.10"), std::string::npos) << output.err;
  EXPECT_FALSE(work_file_exists("winput.in"));

  // Without the line-list directory VELKO is wrong: open failure.
  fs::remove_all(velko_ / "kbgfdos");
  output = run({"5000.5", "5099", "26", "plain.mod", "1.0", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 2);
  EXPECT_NE(output.err.find("open failure"), std::string::npos) << output.err;

  // A negative range end stops with its message.
  output = run({"-1", "5099", "26", "plain.mod", "1.0", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_EQ(tail(output, 1), Records{" !! wla1= -1.0"});
  output = run({"5000", "-2.5", "26", "plain.mod", "1.0", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_EQ(tail(output, 1), Records{" !! wla2= -2.5"});

  // A numeric argument that is not a number, or is missing.
  output = run({"5000", "abc", "26"});
  EXPECT_EQ(output.status, 2);
  EXPECT_NE(output.err.find("list-directed I/O syntax error"), std::string::npos) << output.err;
  output = run({"5000", "5010"});
  EXPECT_EQ(output.status, 2);
  EXPECT_NE(output.err.find("end-of-file"), std::string::npos) << output.err;
}

TEST_F(WavepickRun, ModelNamesOutsideTheGridStop) {
  struct Case {
    std::string name;
    std::string values;
  };
  const Case cases[] = {
      {"t03499g444x+000m0", " 3499 -999 -999 -999"},
      {"t05750g501x+000m0", " 5750 501 -999 -999"},
      {"t05750g444x-501m0", " 5750 444 -501 -999"},
      {"t05750g444x+000m2", " 5750 444 0 2"},
      {"t057a0g444x+000m0", " -999 -999 -999 -999"},
      {"t     g444x+000m0", " -999 -999 -999 -999"},
      // Led by a blank: the fields are read from position 1, so the t field
      // holds the "t"; nothing is made under a name other than this one.
      {" t05750g444x+020m0", " -999 -999 -999 -999"},
  };
  for (const Case& c : cases) {
    const RunOutput output = run({"5000", "5001", "26", c.name, "1.0", "7.5", "0", "out.sel"});
    EXPECT_EQ(output.status, 1) << c.name;
    EXPECT_EQ(tail(output, 2), (Records{" idumt,idumg,idumx,idumm:" + c.values,
                                        " Sorry, specified model parameters unsupported!"}))
        << c.name;
    EXPECT_FALSE(work_file_exists(c.name));
    EXPECT_FALSE(work_file_exists("winput.in"));
    EXPECT_FALSE(work_file_exists("tolmar.dat"));  // no model program ran
  }
}

TEST_F(WavepickRun, ModelNamesThatRunOrSkipTheModelPrograms) {
  // Bounds of the grid are supported: the stand-ins make the model.
  for (const std::string name : {"t50000g500x+100m1", "t05750g444x-500m0", "t03500g000x-500m0"}) {
    const RunOutput output = run({"5000", "5001", "26", name, "1.0", "7.5", "0", "out.sel"});
    EXPECT_EQ(output.status, 0) << name << output.out << output.err;
    EXPECT_TRUE(work_file_exists(name)) << name;
  }
  // An existing file of an unsupported name is used as it is.
  write_work_file("t03499g444x+000m0", small_model(2));
  EXPECT_EQ(run({"5000", "5001", "26", "t03499g444x+000m0", "1", "7.5", "0", "o.sel"}).status, 0);
  // Names not of the grid form: nothing is made, width gets no model records.
  for (const std::string name : {"t05750g444x+020m", "t05750g444x+020m00", "s05750g444x+020m0"}) {
    const RunOutput output = run({"5000", "5001", "26", name, "1.0", "7.5", "0", "out.sel"});
    EXPECT_EQ(output.status, 0) << name << output.err;
    EXPECT_FALSE(work_file_exists(name)) << name;  // not made, and not created empty
    const Records input = work_records("winput.in");
    ASSERT_GE(input.size(), 3u);
    EXPECT_EQ(Records(input.end() - 3, input.end()), (Records{"END", "END", "STOP"})) << name;
  }
}

TEST_F(WavepickRun, ModelProgramsThatWriteNoModelStop) {
  environment_["VELKO_STANDIN_FAIL"] = "1";
  const RunOutput output = run({"5000", "5001", "26", kModel, "1.0", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_EQ(tail(output, 2), (Records{" failed to create " + blank_padded(kModel, 60),
                                      " program stopped (loexthe) -->!$?"}));
  EXPECT_EQ(tail(output, 2)[0].size(), 78u);  // the blank of the record, then 77 characters
  EXPECT_FALSE(work_file_exists("winput.in"));
  EXPECT_TRUE(work_file_exists("lines.tmp"));  // the line set ran first
}

TEST_F(WavepickRun, SelectionByWidthResults) {
  // Four candidate lines; width's results decide, field by field.
  write_gf("GF0510.10", {gf_record(501.0, -1.0, "26.00", 0, 100), gf_record(501.1, -1.0, "26.00", 0, 100),
                         gf_record(501.2, -1.0, "26.00", 0, 100), gf_record(501.3, -1.0, "26.00", 0, 100)});
  const std::string model = "a_rather_long_model_name.dat";
  write_work_file(model, small_model(5));
  fake_width(
      "1,26.00,5001.863,3.882,-10.0,8.18,-5.29,-7.27,0,1.20,7.50,10.0,0\n"
      "2,26.00,5002.000,3.000,-9.99,8.00,-5.00,-7.00,0,1.20,7.50,9.99,0\n"
      "3, 26.01 , 5003.5, 1.5,-9.99,\n 8.00,-5.00,-7.00,0,1.20,7.50,250.04,0\n");
  write_work_file("ewtemp.csv", "stale,results\n");
  const RunOutput output = run({"5000.5", "5099", "26", model, "1.2", "7.5", "10.0", "out.sel"});
  ASSERT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(tail(output, 3), (Records{"n_total =   4", "nselect =   2", "ndiscard=   2"}));
  EXPECT_EQ(work_records("out.sel"),
            (Records{" 26.00 5001.863 3.882-10.00  8.18 -5.29 -7.27   10.0 (v= 1.20 A=  7.50)"
                     "         a_rather_long_model_",
                     " 26.01 5003.500 1.500-9.990  8.00 -5.00 -7.00  250.0 (v= 1.20 A=  7.50)"
                     "         a_rather_long_model_"}));
}

// "width" failing, and result counts that differ from the lines handed
// over: suite_failure_test.cpp.

TEST_F(WavepickRun, EmptyLineSetStillRunsWidth) {
  write_work_file("plain.mod", small_model(2));
  write_work_file("out.sel", "selection of an earlier run\n");
  const RunOutput output = run({"5000.5", "5099", "26", "plain.mod", "1.5", "7.25", "0", "out.sel"});
  ASSERT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(work_records("winput.in"),
            (Records{"VTUR", "    1 1.50", "CURV", "    1    7.25    0.00", "LINE   0", "END",
                     blank_padded("TEFF   5750.  GRAVITY 4.44000 LTE", 80),
                     blank_padded("  -4.000    4500.0  1.0000E+02  1.0000E+10", 80), "END", "STOP"}));
  EXPECT_EQ(tail(output, 3), (Records{"n_total =   0", "nselect =   0", "ndiscard=   0"}));
  EXPECT_EQ(read_work_file("lines.tmp"), "");
  EXPECT_EQ(read_work_file("out.sel"), "");
}

TEST_F(WavepickRun, CapacitiesAndBlankNames) {
  // 10000 candidate lines: 9999 are handed over, with the message.
  std::vector<std::string> many;
  for (int i = 0; i < 10000; ++i) many.push_back(gf_record(501.0 + i * 1e-4, -3.0, "26.00", 0, 100));
  write_gf("GF0510.10", many);
  write_work_file("plain.mod", small_model(3));
  fake_width("");
  RunOutput output = run({"5000.5", "5099", "26", "plain.mod", "1", "7.5", "0", "out.sel"});
  ASSERT_EQ(output.status, 0) << output.err;
  const Records console = output.out_records();
  EXPECT_EQ(console[console.size() - 4], " Too many lines --> truncated at 9999th");
  EXPECT_EQ(console[console.size() - 3], "n_total =9999");
  EXPECT_EQ(work_records("winput.in")[4], "LINE9999");
  write_gf("GF0510.10", {});

  // A model of 301 records cannot be handed over whole.
  write_work_file("big.mod", small_model(301));
  output = run({"5000.5", "5099", "26", "big.mod", "1", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_NE(output.err.find("big.mod has more than 300 records"), std::string::npos) << output.err;
  write_work_file("full.mod", small_model(300));
  EXPECT_EQ(run({"5000.5", "5099", "26", "full.mod", "1", "7.5", "0", "out.sel"}).status, 0);

  // Blank names stop the width run before anything is written for it.
  fs::remove(work_ / "winput.in");
  output = run({"5000.5", "5099", "26", "", "1", "7.5", "0", "out.sel"});
  EXPECT_EQ(output.status, 1);
  EXPECT_NE(output.err.find("argument 4"), std::string::npos) << output.err;
  output = run({"5000.5", "5099", "26", "plain.mod", "1", "7.5", "0"});
  EXPECT_EQ(output.status, 1);
  EXPECT_NE(output.err.find("argument 8"), std::string::npos) << output.err;
  EXPECT_FALSE(work_file_exists("winput.in"));
}

// The stand-in "width": its equivalent widths (value 12 of ewtemp.csv) grow
// with log gf and the abundance, fall with the excitation potential, and
// saturate for strong lines.
TEST_F(WavepickRun, StandinCurveOfGrowth) {
  std::vector<std::string> records;
  for (int k = 0; k < 6; ++k) records.push_back(gf_record(501.0 + 0.01 * k, -7.0 + k, "26.00", 0, 100));
  records.push_back(gf_record(501.1, -3.0, "26.00", 20000.0, 30000.0));  // 2.48 eV
  write_gf("GF0510.10", records);
  write_work_file("plain.mod", small_model(3));
  auto widths = [&](const char* abundance) {
    EXPECT_EQ(run({"5000.5", "5099", "26", "plain.mod", "1", abundance, "0", "o.sel"}).status, 0);
    std::vector<double> w;
    for (const std::string& r : work_records("ewtemp.csv")) {
      std::size_t at = 0;
      for (int comma = 0; comma < 11; ++comma) at = r.find(',', at) + 1;
      w.push_back(std::stod(r.substr(at)));
    }
    return w;
  };
  const std::vector<double> base = widths("7.5");
  ASSERT_EQ(base.size(), 7u);
  for (int k = 1; k < 6; ++k) EXPECT_GT(base[k], base[k - 1]) << k;
  EXPECT_GT(base[1] / base[0], 5.0);   // weak lines: nearly linear in gf
  EXPECT_LT(base[5] / base[4], 1.6);   // strong lines: saturated
  EXPECT_LT(base[6], base[4]);         // the same log gf at higher excitation: weaker
  const std::vector<double> richer = widths("8.0");
  for (int k = 0; k < 6; ++k) EXPECT_GT(richer[k], base[k]) << k;
}

TEST_F(WavepickRun, LongArgumentsAreCut) {
  write_work_file("plain.mod", small_model(2));
  const std::string long_output(70, 'o');
  const RunOutput output =
      run({"5000.5", "5099", "26", "plain.mod", "1", "7.5", "0", long_output});
  ASSERT_EQ(output.status, 0) << output.err;
  EXPECT_EQ(output.out_records()[6], "fnoutput:" + std::string(60, 'o'));
  EXPECT_TRUE(work_file_exists(std::string(60, 'o')));
}

}  // namespace
}  // namespace wavepick_test
