// Input decodes of single fields: Iw, Fw.d and Aw.
//
// Each takes exactly the field's characters (a short record already padded
// with blanks) and returns false on a conversion error, leaving the target
// unchanged. Blanks anywhere in a numeric field are ignored; an all-blank
// field is 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velko {

bool decode_integer(std::string_view field, std::int32_t& value);

// Fw.d: optional sign, digits, optional point, digits, optional exponent (E or
// D and an optionally signed integer, or a sign directly after the digits).
// Without a point the last d digits are decimals. The float overload rounds the
// decimal value once, to float, and fails on a value beyond float's range.
//
// The double overload takes a fast path for the plain form of a field (blanks,
// an optional sign, at most 15 digits with at most one point, blanks): its
// value is an integer below 2^53 divided by an exact power of ten, which one
// division rounds correctly. Every other form goes the exact way. Both ways
// give the same value and the same failures; decode_real_exact is the exact
// way alone, the reference that the fast path is tested against.
bool decode_real(std::string_view field, int decimals, double& value);
bool decode_real(std::string_view field, int decimals, float& value);
bool decode_real_exact(std::string_view field, int decimals, double& value);

// True when decode_real would accept the field; a plain field is only looked
// at, not converted.
bool real_field_valid(std::string_view field, int decimals);

// Aw into a text of length text.size(): w >= n takes the last n characters;
// w < n fills the first w positions and blanks the rest.
void decode_text(std::string_view field, std::string& text);

}  // namespace velko
