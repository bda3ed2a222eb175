// A further line after the record layer's report, for what the report itself
// cannot know: which argument was being read, or that VELKO is not set.
#pragma once

#include <string>

namespace wavepick {

// Called once by main: from then on, a report of the record layer that ends
// the program is followed by the further line of the innermost ReportHint
// alive at that moment.
void install_report_hints();

// While alive, the further line (written as it stands, with its own indent)
// of a report that ends the program. Hints nest: the innermost counts.
// The further line for a gf file that cannot be opened: that VELKO is not set
// and what it must hold; empty when VELKO is set.
std::string velko_not_set_hint();

class ReportHint {
 public:
  explicit ReportHint(std::string line);
  ~ReportHint();
  ReportHint(const ReportHint&) = delete;
  ReportHint& operator=(const ReportHint&) = delete;

 private:
  std::string previous_;
};

}  // namespace wavepick
