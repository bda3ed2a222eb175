// Input decodes of single fields: Iw, Fw.d and Aw.
//
// Each takes exactly the field's characters (a short record already padded
// with blanks) and returns false on a conversion error, leaving the target
// unchanged. Blanks anywhere in a numeric field are ignored; an all-blank
// field is 0.
#pragma once

#include <cstddef>
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
inline bool decode_real(std::string_view field, int decimals, double& value);
bool decode_real(std::string_view field, int decimals, float& value);
bool decode_real_exact(std::string_view field, int decimals, double& value);

// True when decode_real would accept the field; a plain field is only looked
// at, not converted.
inline bool real_field_valid(std::string_view field, int decimals);

namespace field_decode_detail {

inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The fast path, inline so that a reader of many fields (the line set) pays
// no call for it: the plain form of an Fw.d field is blanks, an optional
// sign, digits with at most one point, blanks, and 1 to 15 digits in all.
// Returns false for every other form (exponents, blanks between digits, an
// all-blank field, errors), which the exact way then judges. With kConvert
// false the field is only checked.
template <bool kConvert>
inline bool decode_plain_real(std::string_view field, int decimals, double& value) {
  const char* p = field.data();
  const char* const end = p + field.size();
  while (p != end && *p == ' ') ++p;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;
  const char* const digits_start = p;
  while (p != end && static_cast<unsigned>(*p - '0') < 10u) {
    if constexpr (kConvert) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    ++p;
  }
  int digits = static_cast<int>(p - digits_start);
  int scale = decimals;
  if (p != end && *p == '.') {
    const char* const fraction_start = ++p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10u) {
      if constexpr (kConvert) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      ++p;
    }
    scale = static_cast<int>(p - fraction_start);
    digits += scale;
  }
  while (p != end && *p == ' ') ++p;
  if (p != end || digits == 0 || digits > 15 || scale < 0 || scale > 22) return false;
  if constexpr (kConvert) {
    const double magnitude =
        static_cast<double>(mantissa) / kPowersOfTen[static_cast<std::size_t>(scale)];
    value = negative ? -magnitude : magnitude;
  }
  return true;
}

}  // namespace field_decode_detail

inline bool decode_real(std::string_view field, int decimals, double& value) {
  return field_decode_detail::decode_plain_real<true>(field, decimals, value) ||
         decode_real_exact(field, decimals, value);
}

inline bool real_field_valid(std::string_view field, int decimals) {
  double value = 0;
  return field_decode_detail::decode_plain_real<false>(field, decimals, value) ||
         decode_real_exact(field, decimals, value);
}

// Aw into a text of length text.size(): w >= n takes the last n characters;
// w < n fills the first w positions and blanks the rest.
void decode_text(std::string_view field, std::string& text);

}  // namespace velko
