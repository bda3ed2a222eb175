// The program-end handler: a harness can take a report or a stop as an
// outcome instead of the end of its process.
#include <gtest/gtest.h>

#include "outcome.h"
#include "program_end.h"
#include "record_reader.h"

namespace {

struct ProgramEnded {
  int status;
};

[[noreturn]] void throw_program_end(int status) { throw ProgramEnded{status}; }

class ProgramEndHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { velko::set_program_end_handler(throw_program_end); }
  void TearDown() override { velko::set_program_end_handler(nullptr); }
};

int status_of_end(void (*body)()) {
  try {
    body();
  } catch (const ProgramEnded& ended) {
    return ended.status;
  }
  return -1;
}

TEST_F(ProgramEndHandlerTest, StopAndReportReachTheHandlerWithTheirStatus) {
  EXPECT_EQ(status_of_end([] { velko::stop_program(velko::kExitStopFailure); }),
            velko::kExitStopFailure);
  testing::internal::CaptureStderr();
  // A read whose caller handles nothing, on bad data: the record layer's report.
  const int status = status_of_end([] {
    double value = 0;
    velko::read_list_text("abc", {&value}, velko::Handled::Nothing);
  });
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, velko::kExitRecordFailure);
  EXPECT_NE(report.find("list-directed I/O syntax error"), std::string::npos) << report;
}

TEST(ProgramEndDefault, WithoutAHandlerTheProcessEnds) {
  velko::set_program_end_handler(nullptr);
  EXPECT_EXIT(velko::stop_program(3), ::testing::ExitedWithCode(3), "");
}

}  // namespace
