// The plot modes' listing of the rejected lines after the plot returns.
#include "plot_modes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fe_tables.h"
#include "record_reader.h"

namespace {

using ironsift::FeLoadStatus;
using ironsift::FeTables;
using ironsift::RangeTrackers;

// An ".abd" data record: line number, species, wavelength, excitation,
// log gf, width, Fe I abundance, Fe II abundance.
std::string abd(int line, const char* species, double chi, double width, double a1, double a2) {
  char text[100];
  std::snprintf(text, sizeof text, "%4d %s  4500.000  %4.2f -1.000  %6.1f  %5.3f  %5.3f", line,
                species, chi, width, a1, a2);
  return text;
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
