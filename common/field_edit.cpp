// Output edits of single fields.
#include "field_edit.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace velko {
namespace {

void append_asterisks(std::string& out, int width) { out.append(static_cast<std::size_t>(width), '*'); }

// The exact decimal expansion of |value| (finite, below 1e120): integer digits,
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
