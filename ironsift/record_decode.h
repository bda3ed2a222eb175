// Decoding the values of a record that was first read whole as a text.
//
// ironsift reads ".abd" and ".wdt" records as 80-character texts, looks at
// them, and only then decodes their values. A value that cannot be decoded
// ends the program with the record layer's report, naming the file and the
// record the text came from (not the text in memory), so that the user can
// find the faulty line.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "layout.h"
#include "values.h"

namespace ironsift {

// Where a record text came from, for the report.
struct RecordOrigin {
  std::string_view file;
  int unit = 0;
  long record_number = 0;
};

// Free-format read of the targets from the text alone. Running out of values
// in the text is an end-of-file failure; either failure ends the program.
void decode_list_or_stop(std::string_view text, std::span<const velko::InTarget> targets,
                         const RecordOrigin& origin);
inline void decode_list_or_stop(std::string_view text,
                                std::initializer_list<velko::InTarget> targets,
                                const RecordOrigin& origin) {
  decode_list_or_stop(text, std::span<const velko::InTarget>(targets.begin(), targets.size()),
                      origin);
}

// Formatted read of the targets from the text; the text is read as if padded
// with blanks to the length the layout needs.
void decode_formatted_or_stop(std::string_view text, const velko::Layout& layout,
                              std::span<const velko::InTarget> targets,
                              const RecordOrigin& origin);
inline void decode_formatted_or_stop(std::string_view text, const velko::Layout& layout,
                                     std::initializer_list<velko::InTarget> targets,
                                     const RecordOrigin& origin) {
  decode_formatted_or_stop(text, layout,
                           std::span<const velko::InTarget>(targets.begin(), targets.size()),
                           origin);
}

}  // namespace ironsift
