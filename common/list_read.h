// Free-format (list-directed) reads.
//
// Values are separated by a comma, by blanks or tabs, or by the end of a
// record; blanks around a comma belong to it. Two commas with nothing between,
// or a comma at the start of the values, give a null value: the variable keeps
// its old value. A slash ends the read. r*v stands for r copies of v, r* for r
// nulls. A read that needs more values than a record holds goes on with the
// next records; the rest of the last record used is skipped. A number with a
// point or an exponent read into an integer is converted as a double and cut
// toward zero. End of data before all values are found is the end-of-file
// outcome.
#pragma once

#include <span>
#include <string>

#include "outcome.h"
#include "record_supply.h"
#include "values.h"

namespace velko {

Outcome read_list_records(std::span<const InTarget> targets, RecordSupply& supply,
                          ReadFailure& failure);

}  // namespace velko
