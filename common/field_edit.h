// Output edits of single fields: Iw, Fw.d and Aw.
//
// Fw.d rounds the exact decimal expansion of the binary value: the expansion
// is cut after the d-th decimal and rounded up in magnitude when the next digit
// is 5 or more (half away from zero, unlike printf's ties-to-even). A float is
// expanded from its own value. A value whose sign bit is set keeps its minus
// sign even when it rounds to zero ("-0.0"): a deleted line is marked by a
// negative width, and that mark must survive a width that rounds to zero.
// A value that does not fit (or is not finite) gives w asterisks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velko {

// Appends the field to out.
void edit_integer(std::string& out, std::int64_t value, int width);
void edit_real(std::string& out, double value, int width, int decimals);
void edit_text(std::string& out, std::string_view text, int width);

// Fw.d always through the exact decimal expansion (printf with every digit of
// the binary value). edit_real gives the same text, and takes a fast path of
// plain double arithmetic when the value is clearly away from a rounding tie.
void edit_real_exact(std::string& out, double value, int width, int decimals);

// The field alone, for tests and single uses.
std::string edit_real(double value, int width, int decimals);
std::string edit_integer(std::int64_t value, int width);

}  // namespace velko
