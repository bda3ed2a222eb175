// The record layer's report: every part of it put together in one place, and
// a decode of a record read earlier reported as that file's record.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "layout.h"
#include "record_decode.h"
#include "report.h"

namespace {

struct ReportCase {
  const char* name;
  velko::IoError error;
  velko::RecordPlace place;
  velko::FailureReason reason;
  std::string expected;
};

TEST(Report, EachPartInItsPlace) {
  const std::vector<ReportCase> cases = {
      {"open, no reason", velko::IoError::OpenFailure, {}, {},
       "Fatal error: open failure, unit 11, file HD.obs\n"},
      {"write with the system's reason", velko::IoError::WriteFailure, {}, {ENOSPC, {}},
       "Fatal error: error during write, unit 11, file HD.obs\n"
       "  HD.obs: No space left on device\n"},
      {"reason naming what was done", velko::IoError::PermissionDenied, {},
       {EACCES, "cannot create a temporary file in /data"},
       "Fatal error: permission to access file denied, unit 11, file HD.obs\n"
       "  cannot create a temporary file in /data: Permission denied\n"},
      {"a further word without errno", velko::IoError::OpenFailure, {}, {0, "is a FIFO"},
       "Fatal error: open failure, unit 11, file HD.obs\n  is a FIFO\n"},
      {"reason and what the failure left", velko::IoError::WriteFailure, {},
       {ENOSPC, {}, "nothing was changed: HD.del and HD.obs are as before"},
       "Fatal error: error during write, unit 11, file HD.obs\n"
       "  HD.obs: No space left on device\n"
       "  nothing was changed: HD.del and HD.obs are as before\n"},
      {"record shown", velko::IoError::Conversion, {3, "12abc", false}, {},
       "Fatal error: input conversion error, unit 11, file HD.obs\n  at record 3: \"12abc\"\n"},
      {"end after a record", velko::IoError::EndOfFile, {4, {}, true}, {},
       "Fatal error: end-of-file during read, unit 11, file HD.obs\n"
       "  the data end after record 4\n"},
      {"no record at all", velko::IoError::EndOfFile, {0, {}, true}, {},
       "Fatal error: end-of-file during read, unit 11, file HD.obs\n"
       "  the data hold no record at all\n"},
  };
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(velko::io_report(c.error, 11, "HD.obs", c.place, c.reason), c.expected);
  }
}

TEST(RecordDecode, AFailureNamesTheFileAndRecordTheTextCameFrom) {
  const velko::RecordOrigin origin{"HD.wdt", 12, 7};
  float species = 0;
  double wavelength = 0;
  EXPECT_EXIT(velko::decode_formatted_or_stop(" 26.00  5000.x", velko::Layout("(1X, F5.2, F9.3)"),
                                              {&species, &wavelength}, origin),
              ::testing::ExitedWithCode(velko::kExitRecordFailure),
              "input conversion error, unit 12, file HD.wdt\n  at record 7: \" 26.00  5000.x\"");
  float a = 0;
  float b = 0;
  EXPECT_EXIT(velko::decode_list_or_stop("1 2", {&a, &b, &b}, origin),
              ::testing::ExitedWithCode(velko::kExitRecordFailure),
              "end-of-file during read, unit 12, file HD.wdt\n  at record 7: \"1 2\"");
}

}  // namespace
