#include "field_decode.h"

#include <gtest/gtest.h>

namespace velko {
namespace {

TEST(RealDecode, FieldForms) {
  const struct {
    const char* field;
    int decimals;
    double expected;
  } cases[] = {
      {"  125", 2, 1.25},        // implied decimals
      {"001.0", 0, 1.0},
      {"0010.", 0, 10.0},
      {"       ", 1, 0.0},       // all blank
      {" 1 2.5", 1, 12.5},       // blanks ignored
      {"1.5E2", 1, 150.0},
      {"1.5D-1", 1, 0.15},
      {"1.5+2", 1, 150.0},       // sign directly after the digits
      {"15-1", 1, 0.15},         // implied decimals, then the exponent
      {" -4.25", 2, -4.25},
      {"+.5", 3, 0.5},
      {"4389.245", 3, 4389.245},
  };
  for (const auto& c : cases) {
    double value = -1;
    ASSERT_TRUE(decode_real(c.field, c.decimals, value)) << c.field;
    EXPECT_DOUBLE_EQ(value, c.expected) << c.field;
  }
}

TEST(RealDecode, ConversionErrorsLeaveTheTargetAlone) {
  for (const char* field : {"abc", "1.2.3", "--1", "1E", "1.5x", "+", ".", "1e99999", "\t1"}) {
    double value = 42.0;
    EXPECT_FALSE(decode_real(field, 1, value)) << field;
    EXPECT_EQ(value, 42.0) << field;
  }
  float single = 1.0f;
  EXPECT_FALSE(decode_real("1E39", 0, single));  // beyond float's range
  EXPECT_EQ(single, 1.0f);
}

TEST(RealDecode, FloatIsRoundedOnceFromTheDecimalText) {
  float value = 0;
  ASSERT_TRUE(decode_real("0.1", 1, value));
  EXPECT_EQ(value, 0.1f);
}

TEST(IntegerDecode, Forms) {
  const struct {
    const char* field;
    bool ok;
    std::int32_t expected;
  } cases[] = {
      {"  12", true, 12},   {"    ", true, 0},  {" -7 ", true, -7},  {"1 2", true, 12},
      {"1.0", false, 0},    {"12a", false, 0},  {"-", false, 0},
      {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0}, {"99999999999", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t value = 99;
    EXPECT_EQ(decode_integer(c.field, value), c.ok) << c.field;
    if (c.ok) {
      EXPECT_EQ(value, c.expected) << c.field;
    }
  }
}

TEST(TextDecode, WiderAndNarrowerFields) {
  std::string text(3, '?');
  decode_text("abcde", text);  // w >= n: the last n characters
  EXPECT_EQ(text, "cde");
  text.assign(5, '?');
  decode_text("ab", text);     // w < n: first w positions, rest blank
  EXPECT_EQ(text, "ab   ");
}

}  // namespace
}  // namespace velko
