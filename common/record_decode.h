// Decoding the values of a record that was first read whole as a text.
//
// A program may read a record as a text, look at it, and only then decode its
// values. A value that cannot be decoded ends the program with the record
// layer's report, naming the file and the record the text came from (not the
// text in memory), so that the user can find the faulty line.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "layout.h"
#include "record_reader.h"
#include "values.h"

namespace velko {

// Free-format read of the targets from the text alone. Running out of values
// in the text is an end-of-file failure; either failure ends the program.
void decode_list_or_stop(std::string_view text, std::span<const InTarget> targets,
                         const RecordOrigin& origin);
inline void decode_list_or_stop(std::string_view text, std::initializer_list<InTarget> targets,
                                const RecordOrigin& origin) {
  decode_list_or_stop(text, std::span<const InTarget>(targets.begin(), targets.size()), origin);
}

// Formatted read of the targets from the text; the text is read as if padded
// with blanks to the length the layout needs.
void decode_formatted_or_stop(std::string_view text, const Layout& layout,
                              std::span<const InTarget> targets, const RecordOrigin& origin);
inline void decode_formatted_or_stop(std::string_view text, const Layout& layout,
                                     std::initializer_list<InTarget> targets,
                                     const RecordOrigin& origin) {
  decode_formatted_or_stop(text, layout, std::span<const InTarget>(targets.begin(), targets.size()),
                           origin);
}

}  // namespace velko
