// Input decodes of single fields.
#include "field_decode.h"

#include <cerrno>
#include <cmath>
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
