#include "empty_line_set.h"

#include <cstdio>
#include <string_view>

#include "diagnostics.h"
#include "directory_keys.h"
#include "lablen.h"
#include "line_set.h"
#include "record_reader.h"
#include "texts.h"

namespace wavepick {
namespace {

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string why_no_candidate(const RunParameters& parameters) {
  const std::string w1 = fixed(parameters.w1, 3);
  const std::string w2 = fixed(parameters.w2, 3);
  const std::string lead = "no candidate line: ";
  if (parameters.w1 > parameters.w2) {
    return lead + "the range is reversed (W1 " + w1 + " is above W2 " + w2 + ")";
  }
  const double lambda1 = parameters.w1 / 10.0;
  const double lambda2 = parameters.w2 / 10.0;
  const int first = first_gf_file(lambda1);
  const int last = last_gf_file(lambda2);
  const std::string range = "from " + w1 + " to " + w2 + " \u00c5";
  if (first < 0 || last < first) return lead + "no gf slice holds the range " + range;

  const std::string directory(velko::trimmed(RETENV("KGF_DIR")));
  const auto& files = gf_file_table();
  auto file_name = [&](int k) {
    return std::string(velko::trimmed(files[static_cast<std::size_t>(k)].name));
  };
  const std::string slices =
      first == last ? file_name(first) : file_name(first) + " to " + file_name(last);
  // Whether the slices hold any line in the range tells the last two cases
  // apart; the first such line settles it, so that a large slice (whose lines
  // are all of other species) is not read through a second time.
  int present = 0;
  bool any_in_range = false;
  for (int k = first; k <= last && !any_in_range; ++k) {
    const std::string path = directory + "/" + file_name(k);
    if (!velko::file_exists(path)) continue;
    ++present;
    velko::RecordReader gf = velko::RecordReader::open_file(path, texts::kUnitGfFile, false);
    std::string_view record;
    GfLine line;
    for (long count = 0; count < kMaxRecordsPerGfFile && !any_in_range; ++count) {
      if (gf.read_record(record, velko::Handled::Errors) != velko::Outcome::Done) break;
      // The range alone decides here: the line's own species is taken as wanted.
      any_in_range = decode_gf_record(record, line) == GfRecordKind::Line &&
                     line_selected(line, lambda1, lambda2, line.species);
    }
    gf.close();
  }
  const std::string where = (directory.empty() ? std::string("/") : directory);
  if (present == 0) {
    return lead + "no gf slice for the range " + range + " exists under " + where +
           " (looked for " + slices + ")";
  }
  if (!any_in_range) {
    return lead + "the gf slices " + slices + " under " + where + " hold no line " + range;
  }
  return lead + "none of the lines " + range + " in " + slices + " under " + where +
         " has the species code " + fixed(parameters.cod, 2);
}

void explain_empty_line_set(const RunParameters& parameters) {
  tell(why_no_candidate(parameters));
  tell(texts::kRangeUnit);
}

}  // namespace wavepick
