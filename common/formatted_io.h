// Applying a layout to a value list: formatted records out and in.
//
// Output rules: fields are applied left to right; when the values are used up
// the record ends at the first field that would need another one (quoted texts
// and column moves before it are still applied); when the layout is used up
// and values remain, a new record begins at the layout's reversion point (its
// last top-level group, with that group's repeat count). A record ends after
// the last column written.
//
// Input rules: the same walk over the layout; a record shorter than the layout
// needs reads as if padded with blanks; characters after the last field are
// ignored; when values remain at the end of the layout the next record is read.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layout.h"
#include "outcome.h"
#include "record_supply.h"
#include "values.h"

namespace velko {

// The records that one formatted write produces (always at least one).
std::vector<std::string> format_records(const Layout& layout,
                                        std::span<const OutValue> values);

// A formatted write that makes one record, formatted into record (its storage
// reused, so that a loop writing many records allocates nothing). The values
// must all fit in that one record.
void format_record(std::string& record, const Layout& layout, std::span<const OutValue> values);

// Reads the targets from records taken from supply. Returns Done, EndOfFile
// (no record where one was needed) or Error (a field that does not suit its
// target); on a failure, fills failure.
Outcome read_formatted_records(const Layout& layout, std::span<const InTarget> targets,
                               RecordSupply& supply, ReadFailure& failure);

}  // namespace velko
