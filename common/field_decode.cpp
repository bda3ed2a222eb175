// Input decodes of single fields.
#include "field_decode.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace velko {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The field's characters with blanks removed. Fields are short (at most a few
// dozen characters); a fixed buffer keeps this free of allocation.
struct Compact {
  char text[128];
  std::size_t size = 0;
  bool overflow = false;
};

Compact compact(std::string_view field) {
  Compact c;
  for (char ch : field) {
    if (ch == ' ') continue;
    if (c.size == sizeof c.text - 1) {
      c.overflow = true;
      break;
    }
    c.text[c.size++] = ch;
  }
  c.text[c.size] = '\0';
  return c;
}

// Parses the compacted F field into a canonical C number text
// "[-]digits.digitsE[-]exp" that strtod/strtof convert with one rounding.
bool canonical_real(std::string_view field, int decimals, char* out, std::size_t out_size) {
  const Compact c = compact(field);
  if (c.overflow) return false;
  std::size_t i = 0;
  bool negative = false;
  if (i < c.size && (c.text[i] == '+' || c.text[i] == '-')) negative = c.text[i++] == '-';
  std::string_view int_digits;
  std::string_view frac_digits;
  bool has_point = false;
  const std::size_t int_begin = i;
  while (i < c.size && is_digit(c.text[i])) ++i;
  int_digits = std::string_view(c.text + int_begin, i - int_begin);
  if (i < c.size && c.text[i] == '.') {
    has_point = true;
    const std::size_t frac_begin = ++i;
    while (i < c.size && is_digit(c.text[i])) ++i;
    frac_digits = std::string_view(c.text + frac_begin, i - frac_begin);
  }
  if (int_digits.empty() && frac_digits.empty()) {
    // Only a sign, or only a point: nothing that is a number, unless the whole
    // field was blank (handled by the caller).
    return false;
  }
  long exponent = 0;
  if (i < c.size) {
    const char e = c.text[i];
    bool exp_negative = false;
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
      ++i;
      if (i < c.size && (c.text[i] == '+' || c.text[i] == '-')) exp_negative = c.text[i++] == '-';
    } else if (e == '+' || e == '-') {  // sign directly after the digits
      exp_negative = e == '-';
      ++i;
    } else {
      return false;
    }
    const std::size_t exp_begin = i;
    while (i < c.size && is_digit(c.text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (c.text[i] - '0');
      ++i;
    }
    if (i == exp_begin) return false;
    if (exp_negative) exponent = -exponent;
  }
  if (i != c.size) return false;
  // Without a point the last d digits are decimals.
  if (!has_point) exponent -= decimals;
  const int n = std::snprintf(out, out_size, "%s%.*s.%.*sE%ld", negative ? "-" : "",
                              static_cast<int>(int_digits.size()), int_digits.data(),
                              static_cast<int>(frac_digits.size()), frac_digits.data(), exponent);
  return n > 0 && static_cast<std::size_t>(n) < out_size;
}

bool all_blank(std::string_view field) {
  for (char ch : field)
    if (ch != ' ') return false;
  return true;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The plain form of an Fw.d field: blanks, an optional sign, digits with at
// most one point, blanks, and 1 to 15 digits in all. Returns false for every
// other form (exponents, blanks between digits, an all-blank field, errors),
// which the exact way then judges. With kConvert false the field is only
// checked.
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

}  // namespace

bool decode_integer(std::string_view field, std::int32_t& value) {
  const Compact c = compact(field);
  if (c.overflow) return false;
  std::size_t i = 0;
  bool negative = false;
  if (i < c.size && (c.text[i] == '+' || c.text[i] == '-')) negative = c.text[i++] == '-';
  if (i == c.size) {
    if (c.size != 0) return false;  // a sign alone
    value = 0;
    return true;
  }
  std::int64_t magnitude = 0;
  for (; i < c.size; ++i) {
    if (!is_digit(c.text[i])) return false;
    magnitude = magnitude * 10 + (c.text[i] - '0');
    if (magnitude > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
      return false;
  }
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(result);
  return true;
}

bool decode_real(std::string_view field, int decimals, double& value) {
  return decode_plain_real<true>(field, decimals, value) ||
         decode_real_exact(field, decimals, value);
}

bool real_field_valid(std::string_view field, int decimals) {
  double value = 0;
  return decode_plain_real<false>(field, decimals, value) ||
         decode_real_exact(field, decimals, value);
}

bool decode_real_exact(std::string_view field, int decimals, double& value) {
  if (all_blank(field)) {
    value = 0.0;
    return true;
  }
  char text[200];
  if (!canonical_real(field, decimals, text, sizeof text)) return false;
  errno = 0;
  const double result = std::strtod(text, nullptr);
  if (errno == ERANGE && std::isinf(result)) return false;
  value = result;
  return true;
}

bool decode_real(std::string_view field, int decimals, float& value) {
  if (all_blank(field)) {
    value = 0.0f;
    return true;
  }
  char text[200];
  if (!canonical_real(field, decimals, text, sizeof text)) return false;
  errno = 0;
  const float result = std::strtof(text, nullptr);
  if (errno == ERANGE && std::isinf(result)) return false;
  value = result;
  return true;
}

void decode_text(std::string_view field, std::string& text) {
  const std::size_t n = text.size();
  if (field.size() >= n) {
    text.assign(field.substr(field.size() - n));
  } else {
    text.assign(field);
    text.resize(n, ' ');
  }
}

}  // namespace velko
