#include "field_edit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace velko {
namespace {

struct RealCase {
  double value;
  int width;
  int decimals;
  const char* expected;
};

TEST(RealEdit, RoundsTheExactExpansionHalfAwayFromZero) {
  const RealCase cases[] = {
      {12345.6, 7, 1, "12345.6"},
      {123456.7, 7, 1, "*******"},
      {0.5, 6, 2, "  0.50"},
      {0.5, 4, 3, ".500"},       // no room for the zero
      {-0.25, 5, 2, "-0.25"},
      {-0.25, 4, 2, "-.25"},     // the sign takes the last free column
      {-0.25, 3, 2, "***"},
      {12.345f, 7, 1, "   12.3"},
      {-12.345f, 7, 1, "  -12.3"},
      {0.125, 5, 2, " 0.13"},    // exact tie: away from zero (printf gives 0.12)
      {-0.125, 6, 2, " -0.13"},
      {2.5, 3, 0, " 3."},
      {0.375, 6, 2, "  0.38"},
      {2.675, 5, 2, " 2.67"},    // binary value just below the tie
      {1.005, 5, 2, " 1.00"},    // likewise
      {9.995, 5, 2, " 9.99"},    // 9.9949999...
      {9.9951, 5, 2, "10.00"},   // the carry adds a digit
      {99.96, 5, 1, "100.0"},
      {99.96, 4, 1, "****"},
      {150.0, 8, 1, "   150.0"},
      {0.0, 6, 1, "   0.0"},
      {-0.04, 6, 1, "  -0.0"},   // keeps the deletion sign
      {-0.0, 7, 1, "   -0.0"},
      {1e30, 8, 1, "********"},
      {4389.2451, 9, 3, " 4389.245"},
      {-10.0, 6, 2, "-10.00"},
      {-9.999, 6, 3, "-9.999"},
      {1.2398099, 6, 3, " 1.240"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(edit_real(c.value, c.width, c.decimals), c.expected)
        << "value " << c.value << " F" << c.width << '.' << c.decimals;
}

TEST(RealEdit, SinglePrecisionValuesExpandFromTheirOwnBits) {
  // 0.45f is 0.449999988..., 0.45 as a double is 0.450000000000000011...
  EXPECT_EQ(edit_real(0.45f, 4, 1), " 0.4");
  EXPECT_EQ(edit_real(0.45, 4, 1), " 0.5");
  // 7.65f is 7.6500000953..., the double 7.65 is 7.6500000000000003552...
  EXPECT_EQ(edit_real(7.65f, 5, 1), "  7.7");
  // 1.15f is 1.14999997615..., the double is 1.149999999999999911...
  EXPECT_EQ(edit_real(1.15f, 4, 1), " 1.1");
}

TEST(RealEdit, NotFiniteIsAsterisks) {
  EXPECT_EQ(edit_real(std::numeric_limits<double>::infinity(), 6, 1), "******");
  EXPECT_EQ(edit_real(std::numeric_limits<double>::quiet_NaN(), 3, 1), "***");
}

TEST(IntegerEdit, RightJustifiedOrAsterisks) {
  const struct {
    std::int64_t value;
    int width;
    const char* expected;
  } cases[] = {
      {12345, 4, "****"}, {100, 2, "**"}, {0, 3, "  0"}, {-5, 3, " -5"},
      {-100, 3, "***"},   {120, 4, " 120"}, {9999, 4, "9999"},
  };
  for (const auto& c : cases) EXPECT_EQ(edit_integer(c.value, c.width), c.expected) << c.value;
}

TEST(TextEdit, PadsOnTheLeftOrCuts) {
  std::string out;
  edit_text(out, "abc", 5);
  edit_text(out, "abcdef", 2);
  edit_text(out, "12345678", 8);
  EXPECT_EQ(out, "  abcab12345678");
}

TEST(RealEdit, FastPathGivesTheExactExpansionsText) {
  std::vector<double> values = {0.0,    -0.0,    0.5,      -0.5,    0.125,   -0.125, 2.675,
                                1.005,  0.0005,  -0.0004,  9.9995,  99.995,  -9.995, 123456.7,
                                1e12,   -1e12,   1e30,     1e-30,   12345.65, 0.05,  -0.05};
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 4000; ++i) values.push_back(unit(random) * std::pow(10.0, i % 9 - 2));
  // Values exactly halfway between two results, where only the exact
  // expansion decides.
  for (int i = 0; i < 1000; ++i) values.push_back((2 * i + 1) / 2000.0);
  for (double value : values) {
    for (int width : {4, 5, 6, 7, 9, 12}) {
      for (int decimals : {0, 1, 2, 3, 4}) {
        if (decimals >= width) continue;
        std::string exact;
        edit_real_exact(exact, value, width, decimals);
        ASSERT_EQ(edit_real(value, width, decimals), exact)
            << value << " F" << width << '.' << decimals;
      }
    }
  }
}

}  // namespace
}  // namespace velko
