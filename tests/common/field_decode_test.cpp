#include "field_decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

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

// The fast path of decode_real (plain fields) against the exact way alone:
// the same acceptance, the same value to the bit (sign of zero included), on
// chosen forms, on random plain numbers and on random strings of the
// characters that matter to the rule.
void expect_same_as_exact(const std::string& field, int decimals) {
  double fast = -1.0, exact = -1.0;
  const bool fast_ok = decode_real(field, decimals, fast);
  const bool exact_ok = decode_real_exact(field, decimals, exact);
  ASSERT_EQ(fast_ok, exact_ok) << '"' << field << "\" F." << decimals;
  ASSERT_EQ(real_field_valid(field, decimals), exact_ok) << '"' << field << '"';
  if (fast_ok) {
    ASSERT_EQ(fast, exact) << '"' << field << "\" F." << decimals;
    ASSERT_EQ(std::signbit(fast), std::signbit(exact)) << '"' << field << '"';
  } else {
    ASSERT_EQ(fast, -1.0) << '"' << field << '"';  // the target left alone
  }
}

TEST(RealDecode, FastPathAgreesWithTheExactWay) {
  const char* fields[] = {"   500.0003", "  -1.460", " 26.00", "    0.000", "   -0.000",
                          "1.23E+02",    "  1 2.5 ", "   125",  "  .5",       "5.",
                          "       ",     "+3.25",    "1-2",     "1.2.3",     "x",
                          "-",           ".",        "-.",      "+ 5",       "5 -",
                          "999999999999999",  "9999999999999999", "1234567890123456789",
                          " 0.1234567890123456", "0.000000000000001", "-0", "1e5", "1d-5"};
  for (const char* text : fields) {
    for (int decimals : {0, 2, 4, 22, 30}) expect_same_as_exact(text, decimals);
  }
  std::mt19937 random(3);
  std::uniform_int_distribution<long long> digits(0, 99999999999LL);
  char field[32];
  for (int i = 0; i < 20000; ++i) {
    std::snprintf(field, sizeof field, "%12.4f",
                  static_cast<double>(digits(random)) / 1e4 * (i % 2 ? -1.0 : 1.0));
    expect_same_as_exact(field, 4);
    std::snprintf(field, sizeof field, "%11lld", digits(random));  // implied decimals
    expect_same_as_exact(field, 3);
  }
  const std::string alphabet = " 0123456789.+-EeDdx\t";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> width(1, 12);
  for (int i = 0; i < 100000; ++i) {
    std::string text(static_cast<std::size_t>(width(random)), ' ');
    for (char& c : text) c = alphabet[pick(random)];
    expect_same_as_exact(text, i % 5);
  }
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
