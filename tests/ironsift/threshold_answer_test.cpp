// The threshold answer and the verdict of one line.
#include <gtest/gtest.h>

#include <string>

#include "ironsift_state.h"
#include "threshold_screening.h"
#include "wdt_measurements.h"

namespace ironsift {
namespace {

TEST(ThresholdAnswer, OnlyAPositiveNumberInTheFirstTenCharactersSetsAThreshold) {
  const struct {
    std::string answer;
    float threshold;
  } cases[] = {
      {"", kInfiniteThreshold},         {"abc", kInfiniteThreshold},
      {"0", kInfiniteThreshold},        {"-5", kInfiniteThreshold},
      {",", kInfiniteThreshold},        {"/", kInfiniteThreshold},
      {"1e40", kInfiniteThreshold},     {"150 200", 150.0f},
      {"  75.5", 75.5f},                {"         12345", 1.0f},  // cut after ten characters
      {"123456789012", 1234567890.0f},  {"5,", 5.0f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(threshold_from_answer(c.answer), c.threshold) << '"' << c.answer << '"';
  }
}

MeasurementSlot slot_of(std::initializer_list<float> widths) {
  MeasurementSlot slot;
  for (float width : widths) {
    slot.measurements[static_cast<std::size_t>(slot.count++)].width = width;
  }
  MeasurementTable table{};
  table[0] = slot;
  compute_means(table);
  return table[0];
}

TEST(LineVerdict, MeanAgainstThresholdThenWidthThenReference) {
  ReferenceAbundances none;
  ReferenceAbundances reference;
  reference.given = true;
  reference.values[100 - 1] = 45.0f;
  reference.values[200 - 1] = -1.0f;

  const MeasurementSlot forty_sixty = slot_of({40.0f, 60.0f});
  EXPECT_EQ(forty_sixty.mean, 50.0f);
  EXPECT_EQ(judge_line(forty_sixty, 100, 50.0f, none), Verdict::Exceed);
  EXPECT_EQ(judge_line(forty_sixty, 100, 50.1f, none), Verdict::Accepted);
  // The threshold comes before the reference.
  EXPECT_EQ(judge_line(forty_sixty, 200, 50.0f, reference), Verdict::Exceed);
  EXPECT_EQ(judge_line(forty_sixty, 200, kInfiniteThreshold, reference), Verdict::NoRefs);
  EXPECT_EQ(judge_line(forty_sixty, 300, kInfiniteThreshold, reference), Verdict::NoRefs);
  // Line numbers the reference table cannot hold count as missing from it.
  EXPECT_EQ(judge_line(forty_sixty, 12345, kInfiniteThreshold, reference), Verdict::NoRefs);
  EXPECT_EQ(judge_line(forty_sixty, 12345, kInfiniteThreshold, none), Verdict::Accepted);

  const MeasurementSlot with_negative = slot_of({30.0f, -5.0f});
  EXPECT_EQ(with_negative.mean, 30.0f);
  EXPECT_EQ(with_negative.count, 2);

  const MeasurementSlot no_width = slot_of({0.0f, -3.0f});
  EXPECT_EQ(no_width.mean, 0.0f);
  EXPECT_EQ(judge_line(no_width, 100, kInfiniteThreshold, reference), Verdict::NoWidth);
  EXPECT_EQ(judge_line(MeasurementSlot{}, 100, 1.0f, none), Verdict::NotMeasured);
}

}  // namespace
}  // namespace ironsift
