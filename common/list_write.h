// Free-format records (output): a single blank, then the values in order.
//
// A text is written with its full length, trailing blanks included, and
// directly after what precedes it. A number is written with one blank before
// it: an integer with its digits, a real with the shortest digits that read
// back to the same value, always with a decimal point, in plain notation from
// 0.001 to below 1e8 and in E notation (e.g. 1.0E+30) outside.
#pragma once

#include <span>
#include <string>

#include "values.h"

namespace velko {

std::string list_record(std::span<const OutValue> values);

// The free-format form of one real, without the blank before it.
std::string list_real(double value, bool single_precision);

}  // namespace velko
