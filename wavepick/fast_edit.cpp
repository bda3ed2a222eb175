#include "fast_edit.h"

#include <cmath>
#include <cstdint>

#include "field_edit.h"

namespace wavepick {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kIntegerPowersOfTen[] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Scaled values stay below 2^40, where the product |value| * 10^d is off the
// exact one by less than 1.3e-4; a fraction part at least this far from one
// half therefore rounds the same way as the exact decimal expansion.
constexpr double kScaledLimit = 1099511627776.0;  // 2^40
constexpr double kTieMargin = 1.0e-3;

bool try_edit(std::string& out, double value, int width, int decimals) {
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

void edit_real_fast(std::string& out, double value, int width, int decimals) {
  if (!try_edit(out, value, width, decimals)) velko::edit_real(out, value, width, decimals);
}

}  // namespace wavepick
