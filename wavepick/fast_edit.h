// The Fw.d output edit on the line set's hot path. The record layer's edit
// expands every value exactly, which costs microseconds per field; a line set
// of a million records cannot afford that. This edit gives the same text:
// it rounds the scaled value directly when that value is far enough from a
// rounding tie for the result to be certain, and hands every other case (ties,
// huge values, negative zero, fields that do not fit) to the record layer.
#pragma once

#include <string>

namespace wavepick {

// Appends the Fw.d field of value to out; the same characters as
// velko::edit_real.
void edit_real_fast(std::string& out, double value, int width, int decimals);

}  // namespace wavepick
