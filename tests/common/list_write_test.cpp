#include "list_write.h"

#include <gtest/gtest.h>

#include <vector>

namespace velko {
namespace {

TEST(ListWrite, LeadingBlankThenTheValues) {
  const std::vector<OutValue> count = {std::string_view("mzx,MLN "), std::int32_t{329}, std::int32_t{330}};
  EXPECT_EQ(list_record(count), " mzx,MLN  329 330");
  const std::vector<OutValue> texts = {std::string_view("R: why not exist ? --> "), std::string_view("SUN.abd")};
  EXPECT_EQ(list_record(texts), " R: why not exist ? --> SUN.abd");
  const std::vector<OutValue> padded = {std::string_view("ab  ")};
  EXPECT_EQ(list_record(padded), " ab  ");  // trailing blanks kept
}

TEST(ListWrite, RealsReadBackExactly) {
  EXPECT_EQ(list_real(-5.0, false), "-5.0");
  EXPECT_EQ(list_real(5000.0, false), "5000.0");
  EXPECT_EQ(list_real(0.1f, true), "0.1");
  EXPECT_EQ(list_real(1e30f, true), "1.0E+30");
  EXPECT_EQ(list_real(-2.5e-5, false), "-2.5E-05");
}

}  // namespace
}  // namespace velko
