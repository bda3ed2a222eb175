#include "lablen.h"

#include <gtest/gtest.h>

namespace velko {
namespace {

struct LablenCase {
  std::string text;
  int n;
  int first;
  int last;
};

TEST(Lablen, FirstAndLastNonBlank) {
  const LablenCase cases[] = {
      {std::string(80, ' '), 80, 81, 0},
      {std::string(40, 'x'), 40, 1, 40},
      {"  ab  ", 6, 3, 4},
      {" two  words ", 12, 2, 11},
      {"abc", 0, 1, 0},
      {"abc", -3, 1, -3},
      {std::string("    \t     "), 10, 5, 5},  // a tab is content
      {std::string("\0  ", 3), 3, 1, 1},       // so is a NUL
  };
  for (const LablenCase& c : cases) {
    int first = -7;
    int last = -7;
    LABLEN(c.text, c.n, first, last);
    EXPECT_EQ(first, c.first) << '"' << c.text << "\" n=" << c.n;
    EXPECT_EQ(last, c.last) << '"' << c.text << "\" n=" << c.n;
  }
}

TEST(Lablen, NeverLooksPastTheText) {
  int first = 0;
  int last = 0;
  LABLEN("ab ", 10, first, last);  // n beyond the text is cut to it
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 2);
  LABLEN("   ", 10, first, last);
  EXPECT_EQ(first, 11);
  EXPECT_EQ(last, 0);
}

TEST(FixedText, TrimmedAndFixed) {
  EXPECT_EQ(trimmed("  HD123  "), "HD123");
  EXPECT_EQ(trimmed("      "), "");
  EXPECT_EQ(fixed_text("abc", 5), "abc  ");
  EXPECT_EQ(fixed_text("abcdef", 4), "abcd");
}

}  // namespace
}  // namespace velko
