#include "list_read.h"

#include <gtest/gtest.h>

#include "record_reader.h"

namespace velko {
namespace {

TEST(ListRead, SeparatorsNullsSlashAndRepeats) {
  const struct {
    const char* text;
    Outcome outcome;
    double expected[3];
  } cases[] = {
      {"1.5,,2", Outcome::Done, {1.5, -1, 2}},       // null keeps the old value
      {"1.5 /", Outcome::Done, {1.5, -1, -1}},       // slash ends the read
      {"3*0", Outcome::Done, {0, 0, 0}},
      {"2*,7", Outcome::Done, {-1, -1, 7}},          // r* gives r nulls
      {",4", Outcome::EndOfFile, {-1, 4, -1}},       // leading comma: a null
      {"  1 , 2\t3  ", Outcome::Done, {1, 2, 3}},    // blanks around a comma, tabs
      {"1D2 2Q-1 -3e0", Outcome::Done, {100, 0.2, -3}},
      {"1 2 3 4", Outcome::Done, {1, 2, 3}},         // extra values ignored
      {"", Outcome::EndOfFile, {-1, -1, -1}},
      {"     ", Outcome::EndOfFile, {-1, -1, -1}},
  };
  for (const auto& c : cases) {
    double v[3] = {-1, -1, -1};
    EXPECT_EQ(read_list_text(c.text, {&v[0], &v[1], &v[2]}, Handled::Errors), c.outcome) << c.text;
    for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(v[k], c.expected[k]) << c.text << " value " << k;
  }
}

TEST(ListRead, IntegersFromRealsAreCutTowardZero) {
  const struct {
    const char* text;
    bool ok;
    std::int32_t expected;
  } cases[] = {
      {"4.9", true, 4}, {"-2.7", true, -2}, {"2.5e1", true, 25}, {"330", true, 330},
      {"99999999999", false, 0}, {"1e10", false, 0}, {"abc", false, 0}, {"12x", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t i = -5;
    const Outcome outcome = read_list_text(c.text, {&i}, Handled::Errors);
    EXPECT_EQ(outcome == Outcome::Done, c.ok) << c.text;
    EXPECT_EQ(i, c.ok ? c.expected : -5) << c.text;
  }
}

TEST(ListRead, ReadsGoOnOverRecordsAndSkipTheRest) {
  const std::vector<std::string> records = {"  1 2", "", "3 4 5", "6"};
  RecordReader reader = RecordReader::from_texts(records);
  std::int32_t a = 0, b = 0, c = 0, d = 0;
  ASSERT_EQ(reader.read_list({&a, &b, &c}, Handled::Nothing), Outcome::Done);
  EXPECT_EQ(a + b * 10 + c * 100, 321);
  // The rest of "3 4 5" is skipped: the next read starts at "6".
  ASSERT_EQ(reader.read_list({&d}, Handled::Nothing), Outcome::Done);
  EXPECT_EQ(d, 6);
  EXPECT_EQ(reader.read_list({&d}, Handled::EndOfFile), Outcome::EndOfFile);
}

TEST(ListRead, OverflowingRealIsAConversionError) {
  float f = 1.0f;
  double d = 1.0;
  EXPECT_EQ(read_list_text("1e39", {&f}, Handled::Errors), Outcome::Error);
  EXPECT_EQ(f, 1.0f);
  EXPECT_EQ(read_list_text("1e39", {&d}, Handled::Errors), Outcome::Done);
  EXPECT_EQ(d, 1e39);
}

TEST(ListReadDeathTest, ReportsNameTheSituation) {
  double v = 0;
  EXPECT_EXIT(read_list_text("abc", {&v}, Handled::Nothing), testing::ExitedWithCode(2),
              "Fatal error: list-directed I/O syntax error, unit -1, file Internal List-Directed Read");
  EXPECT_EXIT(read_list_text("1.2.3", {&v}, Handled::Nothing), testing::ExitedWithCode(2),
              "input conversion error, unit -1, file Internal List-Directed Read");
  // A number followed by a character that can be no part of one.
  for (const char* text : {"12abc", "1.5x", "7#"}) {
    EXPECT_EXIT(read_list_text(text, {&v}, Handled::Nothing), testing::ExitedWithCode(2),
                "list-directed I/O syntax error, unit -1, file Internal List-Directed Read")
        << text;
  }
  EXPECT_EXIT(read_list_text("   ", {&v}, Handled::Nothing), testing::ExitedWithCode(2),
              "end-of-file during read, unit -1, file Internal List-Directed Read");
}

}  // namespace
}  // namespace velko
