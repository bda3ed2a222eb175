#include "formatted_io.h"

#include <gtest/gtest.h>

#include <vector>

#include "record_reader.h"

namespace velko {
namespace {

std::vector<std::string> write(const char* notation, std::vector<OutValue> values) {
  return format_records(Layout(notation), values);
}

TEST(LayoutParse, RejectsBadNotation) {
  for (const char* bad : {"I4", "(I4", "(Q4)", "(F7)", "(I4,)", "('abc)", "(0I4)", "(F3.3)"})
    EXPECT_THROW(Layout{bad}, std::invalid_argument) << bad;
}

TEST(FormattedWrite, TrailingQuotedTextAfterTheLastValue) {
  EXPECT_EQ(write("('OK, lines stronger than ', F8.1, ' mA are not used.')", {150.0f}),
            std::vector<std::string>{"OK, lines stronger than    150.0 mA are not used."});
  // With no value at all only the text before the first value field is written.
  EXPECT_EQ(write("('(', I2, ' lines will be rejected)')", {}), std::vector<std::string>{"("});
  EXPECT_EQ(write("('(', I2, ' lines will be rejected)')", {std::int32_t{100}}),
            std::vector<std::string>{"(** lines will be rejected)"});
  EXPECT_EQ(write("('it''s', 2X, 'x')", {}), std::vector<std::string>{"it's  x"});
}

TEST(FormattedWrite, RecordEndsAfterTheLastColumnWritten) {
  EXPECT_EQ(write("(I4, 3X)", {std::int32_t{5}}), std::vector<std::string>{"   5"});
  EXPECT_EQ(write("(I4, 3X, A2)", {std::int32_t{5}, std::string_view("ab")}),
            std::vector<std::string>{"   5   ab"});
}

TEST(FormattedWrite, ReversionToTheLastTopLevelGroupWithItsCount) {
  // Seven measurements: six groups on the first record, the seventh on a
  // continuation record that begins at column 1.
  const char* o1 = "(I4, F7.1, 1X, A3, 1X, 6(F6.1, 1X, A3))";
  std::vector<OutValue> values = {std::int32_t{12}, 50.0f, std::string_view("abc")};
  for (int i = 1; i <= 7; ++i) {
    values.emplace_back(static_cast<float>(i * 10));
    values.emplace_back(std::string_view("A01"));
  }
  const auto records = format_records(Layout(o1), values);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0],
            "  12   50.0 abc   10.0 A01  20.0 A01  30.0 A01  40.0 A01  50.0 A01  60.0 A01");
  EXPECT_EQ(records[1], "  70.0 A01");
  // Without a group the whole layout is used again.
  EXPECT_EQ(write("(I3, I3)", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}}),
            (std::vector<std::string>{"  1  2", "  3"}));
  // The group's repeat count applies again on reversion; an earlier group is not the reversion point.
  EXPECT_EQ(write("(I2, 2(I2), 'x', 2(I1))",
                  {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}, std::int32_t{4},
                   std::int32_t{5}, std::int32_t{6}, std::int32_t{7}, std::int32_t{8}}),
            (std::vector<std::string>{" 1 2 3x45", "67", "8"}));
}

TEST(FormattedWrite, TypeMismatchIsAProgrammingError) {
  EXPECT_THROW(write("(I4)", {1.0f}), std::logic_error);
  EXPECT_THROW(write("('x')", {std::int32_t{1}}), std::logic_error);
}

TEST(FormattedRead, ShortRecordsReadAsBlankPadded) {
  const Layout wdt("(6X, F9.3, 30X, F7.1, 7X, A1, 9X, A2)");
  double wavelength = -1;
  float width = -1;
  std::string code1(1, '?');
  std::string code2(2, '?');
  const std::string record = " 26.00 4389.245" + std::string(25, ' ');  // 40 characters
  ASSERT_EQ(read_formatted_text(record, wdt, {&wavelength, &width, &code1, &code2}, Handled::Nothing),
            Outcome::Done);
  EXPECT_DOUBLE_EQ(wavelength, 4389.245);
  EXPECT_EQ(width, 0.0f);
  EXPECT_EQ(code1, " ");
  EXPECT_EQ(code2, "  ");
}

TEST(FormattedRead, FieldWidthsAreExact) {
  double a = 0;
  double b = 0;
  // F9.3 takes exactly nine characters; the tenth belongs to the next field.
  ASSERT_EQ(read_formatted_text("1234567891234", Layout("(F9.3, F4.0)"), {&a, &b}, Handled::Nothing),
            Outcome::Done);
  EXPECT_DOUBLE_EQ(a, 123456.789);
  EXPECT_DOUBLE_EQ(b, 1234.0);
}

TEST(FormattedRead, OneValueFromEachTextOfAnArray) {
  const std::vector<std::string> names = {"GF0010.10", "GF0990.10", "GF1100.10"};
  RecordReader reader = RecordReader::from_texts(names);
  double bounds[3] = {};
  ASSERT_EQ(reader.read_formatted(Layout("(2X, F5.0, 2X)"), {&bounds[0], &bounds[1], &bounds[2]},
                                  Handled::Nothing),
            Outcome::Done);
  EXPECT_EQ(bounds[0], 10.0);
  EXPECT_EQ(bounds[1], 990.0);
  EXPECT_EQ(bounds[2], 1100.0);
}

TEST(FormattedRead, OutcomesReturnedWhenHandled) {
  std::int32_t i = 7;
  EXPECT_EQ(read_formatted_text("  x1", Layout("(I4)"), {&i}, Handled::Errors), Outcome::Error);
  EXPECT_EQ(i, 7);
  const std::vector<std::string> none;
  RecordReader empty = RecordReader::from_texts(none);
  EXPECT_EQ(empty.read_formatted(Layout("(I4)"), {&i}, Handled::EndOfFile), Outcome::EndOfFile);
}

TEST(FormattedReadDeathTest, UnhandledConversionErrorEndsTheProgram) {
  std::int32_t i = 0;
  EXPECT_EXIT(read_formatted_text("  x1", Layout("(I4)"), {&i}, Handled::EndOfFile),
              testing::ExitedWithCode(2),
              "Fatal error: input conversion error, unit -1, file Internal Formatted Read\n"
              "  at record 1: \"  x1\"");
}

}  // namespace
}  // namespace velko
