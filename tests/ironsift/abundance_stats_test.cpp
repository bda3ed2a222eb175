// AVSIG: the mean abundance and its standard deviation over the Fe lines in use.
#include "abundance_stats.h"

#include <gtest/gtest.h>

#include <vector>

#include "fe_lines.h"

namespace {

using ironsift::FeTables;
using ironsift_test::add_fe1;
using ironsift_test::add_fe2;

TEST(Avsig, MeanAndSigmaOverLinesInUse) {
  struct Case {
    const char* what;
    std::vector<float> fe1;
    std::vector<int> fe1_flags;
    std::vector<float> fe2;
    std::vector<int> fe2_flags;
    float mean;
    float sigma;
  };
  const std::vector<Case> cases = {
      {"one line: sigma 0", {7.42f}, {1}, {}, {}, 7.42f, 0.0f},
      {"divisor n, not n - 1", {7.40f, 7.60f}, {1, 1}, {}, {}, 7.50f, 0.10f},
      {"Fe I and Fe II pooled with equal weight", {7.40f}, {1}, {7.60f}, {2}, 7.50f, 0.10f},
      {"rejected lines (0, -1, -2) ignored", {7.40f, 99.0f, -50.0f}, {1, 0, -1},
       {7.60f, 1.0e6f}, {2, -2}, 7.50f, 0.10f},
  };
  for (const Case& c : cases) {
    FeTables t;
    for (std::size_t i = 0; i < c.fe1.size(); ++i) add_fe1(t, 10.0f, c.fe1[i], c.fe1_flags[i]);
    for (std::size_t i = 0; i < c.fe2.size(); ++i) add_fe2(t, 10.0f, c.fe2[i], c.fe2_flags[i]);
    float mean = -1.0f, sigma = -1.0f;
    EXPECT_TRUE(ironsift::AVSIG(t, mean, sigma)) << c.what;
    EXPECT_NEAR(mean, c.mean, 1e-6) << c.what;
    EXPECT_NEAR(sigma, c.sigma, 1e-6) << c.what;
  }
}

TEST(Avsig, SumsInDoubleKeepTheMeanOfManyLines) {
  // 302 + 28 lines: a float running sum of 7.1 values drifts by more than the
  // rounding of the mean itself.
  FeTables t;
  for (int i = 0; i < ironsift::kFe1Capacity; ++i) add_fe1(t, 10.0f, i % 2 ? 7.1f : 7.3f);
  for (int i = 0; i < ironsift::kFe2Capacity; ++i) add_fe2(t, 10.0f, i % 2 ? 7.1f : 7.3f);
  float mean = 0.0f, sigma = 0.0f;
  ASSERT_TRUE(ironsift::AVSIG(t, mean, sigma));
  double sum = 0.0;
  for (int i = 0; i < 330; ++i) sum += static_cast<double>(i % 2 ? 7.1f : 7.3f);
  EXPECT_EQ(mean, static_cast<float>(sum / 330));
  EXPECT_NEAR(sigma, 0.1f, 1e-6);
}

TEST(Avsig, NoLineInUseHasNoValue) {
  FeTables t;
  add_fe1(t, 10.0f, 7.4f, -1);
  add_fe2(t, 10.0f, 7.6f, 0);
  float mean = -1.0f, sigma = -1.0f;
  EXPECT_FALSE(ironsift::AVSIG(t, mean, sigma));
  EXPECT_EQ(mean, 0.0f);
  EXPECT_EQ(sigma, 0.0f);
}

}  // namespace
