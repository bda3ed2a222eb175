// Output edits of single fields.
#include "field_edit.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace velko {
namespace {

void append_asterisks(std::string& out, int width) { out.append(static_cast<std::size_t>(width), '*'); }

// The exact decimal expansion of |value| (finite, below 1e100): integer digits,
// then the fraction digits. A double m * 2^e with e < 0 needs -e fraction digits
// at most, so printing with that many decimals involves no rounding at all
// (glibc prints every requested digit exactly).
void exact_expansion(double magnitude, std::string& integer_digits, std::string& fraction_digits) {
  int exponent = 0;
  std::frexp(magnitude, &exponent);  // magnitude = f * 2^exponent, 0.5 <= f < 1
  int precision = 53 - exponent;     // lowest mantissa bit is 2^(exponent - 53)
  if (precision < 0) precision = 0;
  if (precision > 1100) precision = 1100;
  // At most 100 integer digits (the caller passes values below 1e100), the
  // point and 1100 decimals.
  char buffer[1300];
  const int size = std::snprintf(buffer, sizeof buffer, "%.*f", precision, magnitude);
  const std::string text(buffer, static_cast<std::size_t>(size > 0 ? size : 0));
  const std::size_t point = text.find('.');
  integer_digits = text.substr(0, point);
  fraction_digits = point == std::string::npos ? std::string() : text.substr(point + 1);
}

// Adds one unit in the last place of a digit string; returns true on a carry
// out of the first digit.
bool increment_digits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kIntegerPowersOfTen[] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Scaled values stay below 2^40, where the product |value| * 10^d is off the
// exact one by less than 1.3e-4; a fraction part at least this far from one
// half therefore rounds the same way as the exact decimal expansion.
constexpr double kScaledLimit = 1099511627776.0;  // 2^40
constexpr double kTieMargin = 1.0e-3;

// The fast path of Fw.d: when the scaled value is far enough from a rounding
// tie, ordinary double arithmetic decides the rounding exactly as the exact
// expansion does. Returns false (nothing written) when it cannot decide, for
// asterisks, and for a negative value that rounds to zero.
bool try_fast_real(std::string& out, double value, int width, int decimals) {
  if (decimals < 0 || decimals > 9 || width <= 0 || width > 40) return false;
  const double magnitude = std::fabs(value);
  const double scaled = magnitude * kPowersOfTen[decimals];
  if (!(scaled < kScaledLimit)) return false;  // also NaN
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < kTieMargin) return false;
  const auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  const bool negative = std::signbit(value);
  if (units == 0 && negative) return false;  // the record layer keeps "-0.0"

  const std::uint64_t scale = kIntegerPowersOfTen[decimals];
  const std::uint64_t integer_part = units / scale;
  std::uint64_t fraction_part = units % scale;

  char body[48];
  int length = 0;
  if (integer_part > 0) {
    char digits[24];
    int count = 0;
    for (std::uint64_t rest = integer_part; rest > 0; rest /= 10) {
      digits[count++] = static_cast<char>('0' + rest % 10);
    }
    while (count > 0) body[length++] = digits[--count];
  }
  body[length++] = '.';
  for (int k = decimals - 1; k >= 0; --k) {
    body[length + k] = static_cast<char>('0' + fraction_part % 10);
    fraction_part /= 10;
  }
  length += decimals;

  const int sign_width = negative ? 1 : 0;
  // Without integer digits a zero stands before the point if there is room;
  // a minus sign in the last free column wins over that zero.
  const bool leading_zero = integer_part == 0 && length + sign_width + 1 <= width;
  const int used = length + sign_width + (leading_zero ? 1 : 0);
  if (used > width) return false;  // asterisks: the record layer writes them
  out.append(static_cast<std::size_t>(width - used), ' ');
  if (negative) out.push_back('-');
  if (leading_zero) out.push_back('0');
  out.append(body, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

void edit_integer(std::string& out, std::int64_t value, int width) {
  const std::string digits = std::to_string(value);  // sign included
  if (static_cast<int>(digits.size()) > width) {
    append_asterisks(out, width);
    return;
  }
  out.append(static_cast<std::size_t>(width) - digits.size(), ' ');
  out += digits;
}

void edit_real(std::string& out, double value, int width, int decimals) {
  if (!try_fast_real(out, value, width, decimals)) edit_real_exact(out, value, width, decimals);
}

void edit_real_exact(std::string& out, double value, int width, int decimals) {
  // A value that needs more integer digits than the field holds can never fit.
  if (!std::isfinite(value) || std::fabs(value) >= 1e100) {
    append_asterisks(out, width);
    return;
  }
  const bool negative = std::signbit(value);
  std::string integer_digits;
  std::string fraction_digits;
  exact_expansion(std::fabs(value), integer_digits, fraction_digits);
  fraction_digits.resize(static_cast<std::size_t>(decimals) + 1, '0');

  // Cut after the d-th decimal; round up in magnitude when the next digit is
  // 5 or more.
  const bool round_up = fraction_digits[static_cast<std::size_t>(decimals)] >= '5';
  fraction_digits.resize(static_cast<std::size_t>(decimals));
  if (round_up) {
    std::string all = integer_digits + fraction_digits;
    if (increment_digits(all)) all.insert(all.begin(), '1');
    integer_digits = all.substr(0, all.size() - fraction_digits.size());
    fraction_digits = all.substr(all.size() - fraction_digits.size());
  }
  const std::size_t lead = integer_digits.find_first_not_of('0');
  integer_digits = lead == std::string::npos ? std::string() : integer_digits.substr(lead);

  // Without integer digits a zero stands before the point if there is room;
  // a minus sign in the last free column wins over that zero.
  std::string body = integer_digits + "." + fraction_digits;
  const int sign_width = negative ? 1 : 0;
  if (integer_digits.empty() && static_cast<int>(body.size()) + sign_width + 1 <= width)
    body.insert(body.begin(), '0');
  if (static_cast<int>(body.size()) + sign_width > width) {
    append_asterisks(out, width);
    return;
  }
  out.append(static_cast<std::size_t>(width) - body.size() - static_cast<std::size_t>(sign_width), ' ');
  if (negative) out.push_back('-');
  out += body;
}

void edit_text(std::string& out, std::string_view text, int width) {
  const std::size_t w = static_cast<std::size_t>(width);
  if (w >= text.size()) {
    out.append(w - text.size(), ' ');
    out += text;
  } else {
    out += text.substr(0, w);
  }
}

std::string edit_real(double value, int width, int decimals) {
  std::string out;
  edit_real(out, value, width, decimals);
  return out;
}

std::string edit_integer(std::int64_t value, int width) {
  std::string out;
  edit_integer(out, value, width);
  return out;
}

}  // namespace velko
