// Loading the star's Fe line tables from its ".abd", and the plot frame.
#include "fe_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fe_lines.h"
#include "lablen.h"
#include "record_reader.h"

namespace {

using ironsift::FeLoadStatus;
using ironsift::FeTables;
using ironsift::PlotFrame;
using ironsift::RangeTrackers;
using ironsift_test::abd;

FeLoadStatus load(const std::vector<std::string>& records, FeTables& tables,
                  RangeTrackers& ranges) {
  velko::RecordReader reader = velko::RecordReader::from_texts(records);
  return ironsift::read_fe_tables(reader, tables, ranges);
}

TEST(FeTables, LoadsFe1AndFe2WithTheirOwnAbundanceAndFlags) {
  const std::vector<std::string> records = {
      "# comment 26.00 3.0 4.0",
      abd(11, "26.00", 3.65, 44.2, 7.486, 0.000),
      abd(12, "26.01", 2.86, 87.3, 0.000, 7.660),
      abd(13, "26.02", 1.00, 143.0, 9.000, 9.000),  // widens the widths only
      "#9999 26.00",
      abd(14, "26.00", 1.20, 3.2, 7.230, 0.000),
  };
  FeTables t;
  RangeTrackers r;
  ASSERT_EQ(load(records, t, r), FeLoadStatus::Loaded);
  ASSERT_EQ(t.fe1.count, 2);
  ASSERT_EQ(t.fe2.count, 1);
  EXPECT_EQ(t.fe1.lines[0].line_number, 11);
  EXPECT_FLOAT_EQ(t.fe1.lines[0].excitation, 3.65f);
  EXPECT_FLOAT_EQ(t.fe1.lines[0].width, 44.2f);
  EXPECT_FLOAT_EQ(t.fe1.lines[0].abundance, 7.486f);  // value 7
  EXPECT_EQ(t.fe1.lines[0].use_flag, 1);
  EXPECT_EQ(t.fe1.lines[0].record, velko::fixed_text(records[1], 80));
  EXPECT_EQ(t.fe1.lines[1].line_number, 14);
  EXPECT_EQ(t.fe2.lines[0].line_number, 12);
  EXPECT_FLOAT_EQ(t.fe2.lines[0].abundance, 7.660f);  // value 8
  EXPECT_EQ(t.fe2.lines[0].use_flag, 2);
  EXPECT_FLOAT_EQ(r.width_min, 3.2f);
  EXPECT_FLOAT_EQ(r.width_max, 143.0f);
  EXPECT_FLOAT_EQ(r.abundance_min, 7.23f);
  EXPECT_FLOAT_EQ(r.abundance_max, 7.66f);
  // The unused slots are ready with their starting flags.
  EXPECT_EQ(t.fe1.lines[2].use_flag, 1);
  EXPECT_EQ(t.fe2.lines[1].use_flag, 2);
}

TEST(FeTables, AtMost999RecordsAreReadAndAnFeLineAfterThemIsRefused) {
  std::vector<std::string> records(998, "# comment");
  records.push_back(abd(1, "26.00", 1.0, 50.0, 7.5, 0.0));  // record 999
  FeTables t;
  RangeTrackers r;
  ASSERT_EQ(load(records, t, r), FeLoadStatus::Loaded);
  EXPECT_EQ(t.fe1.count, 1);
  struct Case {
    const char* what;
    std::vector<std::string> rest;
    FeLoadStatus status;
  };
  const std::vector<Case> cases = {
      {"an empty line", {""}, FeLoadStatus::LoadedFirst999},
      {"a comment with Fe values", {"#  2 26.00 4500.0 1.0 -1.0 50.0 7.5 0.0"},
       FeLoadStatus::LoadedFirst999},
      {"another species", {abd(2, "26.02", 1.0, 999.0, 7.5, 0.0)}, FeLoadStatus::LoadedFirst999},
      {"text that is not a record", {"end of results", "  3 "}, FeLoadStatus::LoadedFirst999},
      // An Fe line there would be neither shown nor written back by the update.
      {"an Fe I line", {"", abd(2, "26.00", 1.0, 50.0, 7.5, 0.0)}, FeLoadStatus::TooManyRecords},
      {"an Fe II line", {abd(3, "26.01", 1.0, 50.0, 0.0, 7.5)}, FeLoadStatus::TooManyRecords},
  };
  for (const Case& c : cases) {
    std::vector<std::string> all = records;
    all.insert(all.end(), c.rest.begin(), c.rest.end());
    EXPECT_EQ(load(all, t, r), c.status) << c.what;
    if (c.status == FeLoadStatus::LoadedFirst999) {
      EXPECT_EQ(t.fe1.count, 1) << c.what;
      EXPECT_EQ(r.width_max, 50.0f) << c.what;  // the rest widens nothing
    }
  }
}

TEST(FeTables, CapacitiesAndEmptyFilesAreReported) {
  struct Case {
    const char* what;
    int fe1, fe2, other;
    FeLoadStatus status;
    int fe1_count, fe2_count;
  };
  const std::vector<Case> cases = {
      {"302 Fe I and 28 Fe II fit", 302, 28, 0, FeLoadStatus::Loaded, 302, 28},
      {"a 303rd Fe I line", 303, 0, 0, FeLoadStatus::Fe1TableFull, 302, 0},
      {"a 29th Fe II line", 0, 29, 0, FeLoadStatus::Fe2TableFull, 0, 28},
      {"only other species", 0, 0, 3, FeLoadStatus::NoFeLines, 0, 0},
      {"comments only", 0, 0, 0, FeLoadStatus::NoFeLines, 0, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> records = {"# header"};
    for (int i = 0; i < c.fe2; ++i) records.push_back(abd(500 + i, "26.01", 2.0, 60.0, 0, 7.6));
    for (int i = 0; i < c.fe1; ++i) records.push_back(abd(1 + i, "26.00", 2.0, 60.0, 7.5, 0));
    for (int i = 0; i < c.other; ++i) records.push_back(abd(900 + i, "22.00", 2.0, 60.0, 4.9, 0));
    FeTables t;
    RangeTrackers r;
    EXPECT_EQ(load(records, t, r), c.status) << c.what;
    EXPECT_EQ(t.fe1.count, c.fe1_count) << c.what;
    EXPECT_EQ(t.fe2.count, c.fe2_count) << c.what;
  }
}

TEST(FeTables, PlotFrameTruncatesTowardZero) {
  struct Case {
    float wmin, wmax, amin, amax;
    char mode;
    PlotFrame frame;
  };
  const std::vector<Case> cases = {
      {3.2f, 143.0f, 7.23f, 7.81f, 'w', {0.0f, 150.0f, 7.0f, 8.0f}},
      {52.0f, 100.0f, 7.23f, 7.81f, 'w', {50.0f, 150.0f, 7.0f, 8.0f}},
      {52.0f, 100.0f, 7.0f, 7.5f, 'w', {50.0f, 150.0f, 7.0f, 8.0f}},  // max 7.5: one step up
      {52.0f, 100.0f, -0.3f, 0.2f, 'w', {50.0f, 150.0f, 0.0f, 0.5f}},  // -0.3 truncates to 0
      {-30.0f, 20.0f, 7.2f, 7.4f, 'w', {0.0f, 50.0f, 7.0f, 7.5f}},  // -30 truncates to 0
      {-49.9f, 20.0f, -0.45f, -0.2f, 'w', {0.0f, 50.0f, 0.0f, 0.5f}},
      {3.2f, 643.0f, 7.23f, 7.81f, 'c', {0.0f, 5.0f, 7.0f, 8.0f}},
  };
  for (const Case& c : cases) {
    const PlotFrame f =
        ironsift::plot_frame(RangeTrackers{c.wmin, c.wmax, c.amin, c.amax}, c.mode);
    EXPECT_EQ(f.xlo, c.frame.xlo) << c.wmin;
    EXPECT_EQ(f.xhi, c.frame.xhi) << c.wmax;
    EXPECT_EQ(f.ylo, c.frame.ylo) << c.amin;
    EXPECT_EQ(f.yhi, c.frame.yhi) << c.amax;
    // 0.0, not the -0.0 that trunc gives between -1 and 0.
    for (float limit : {f.xlo, f.xhi, f.ylo, f.yhi}) EXPECT_FALSE(std::signbit(limit)) << limit;
  }
  EXPECT_TRUE(ironsift::frame_is_finite(ironsift::plot_frame({1, 2, 7, 8}, 'w')));
  EXPECT_FALSE(ironsift::frame_is_finite(ironsift::plot_frame({1, 2, 7, 3.0e38f}, 'w')));
}

}  // namespace
