// Which command lines count as "--help" or "--version": only the one argument
// exactly so spelled; every other command line goes to the program.
#include "program_info.h"

#include <gtest/gtest.h>

#include <vector>

namespace velko {
namespace {

struct Case {
  std::vector<const char*> arguments;  // after the program name
  InfoRequest expected;
};

TEST(InfoRequest, OnlyTheSoleExactArgumentCounts) {
  const std::vector<Case> cases = {
      {{"--help"}, InfoRequest::Help},
      {{"--version"}, InfoRequest::Version},
      {{}, InfoRequest::None},
      {{"HD123", "i"}, InfoRequest::None},
      {{"--help", "i"}, InfoRequest::None},       // a second argument: the program's
      {{"HD123", "--help"}, InfoRequest::None},
      {{"-h"}, InfoRequest::None},
      {{"--HELP"}, InfoRequest::None},
      {{"--help "}, InfoRequest::None},
      {{"--versions"}, InfoRequest::None},
      {{""}, InfoRequest::None},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"prog"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    argv.push_back(nullptr);
    EXPECT_EQ(info_request(static_cast<int>(argv.size()) - 1, argv.data()), c.expected)
        << "first argument: " << (c.arguments.empty() ? "(none)" : c.arguments[0]);
  }
}

TEST(InfoRequest, ToleratesAMissingArgumentVector) {
  EXPECT_EQ(info_request(2, nullptr), InfoRequest::None);
  const char* argv[] = {"prog", nullptr, nullptr};
  EXPECT_EQ(info_request(2, argv), InfoRequest::None);
}

}  // namespace
}  // namespace velko
