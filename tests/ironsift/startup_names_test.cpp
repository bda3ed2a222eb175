// The star and reference names from the first argument.
#include <gtest/gtest.h>

#include <string>

#include "ironsift_state.h"
#include "startup.h"

namespace ironsift {
namespace {

TEST(StartUpNames, SplitAtTheFirstSlashWithinFortyCharacters) {
  const std::string forty(40, 'A');
  const struct {
    std::string argument;
    std::string star;
    bool reference_given;
    std::string reference;
  } cases[] = {
      {"HD123", "HD123", false, ""},
      {" HD123 /SUN", "HD123", true, "SUN"},
      {"HD123/SUN/X", "HD123", true, "SUN/X"},
      {"HD123/", "HD123", true, ""},
      {"  ", "", false, ""},
      {forty + "/SUN", forty, false, ""},  // the slash lies beyond column 40
      {"HD 123/S U N", "HD 123", true, "S U N"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    IronsiftState state;
    split_names(c.argument, state);
    EXPECT_EQ(state.star.trimmed(), c.star);
    EXPECT_EQ(state.star.text.size(), static_cast<std::size_t>(kNameLength));
    EXPECT_EQ(state.reference_abundances.given, c.reference_given);
    EXPECT_EQ(state.reference.trimmed(), c.reference);
  }
}

}  // namespace
}  // namespace ironsift
