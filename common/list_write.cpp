// Free-format records.
#include "list_write.h"

#include <charconv>
#include <cmath>
#include <string>

namespace velko {
namespace {

template <typename T>
std::string shortest(T value, std::chars_format format) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string list_real(double value, bool single_precision) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity");
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0.0 || (magnitude >= 1e-3 && magnitude < 1e8);
  const std::chars_format format = plain ? std::chars_format::fixed : std::chars_format::scientific;
  std::string text = single_precision ? shortest(static_cast<float>(value), format) : shortest(value, format);
  if (plain) {
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
  }
  // Scientific: mantissa with a point, exponent as E+NN.
  const std::size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  if (mantissa.find('.') == std::string::npos) mantissa += ".0";
  const char sign = exponent.front() == '-' ? '-' : '+';
  if (exponent.front() == '-' || exponent.front() == '+') exponent.erase(0, 1);
  if (exponent.size() < 2) exponent.insert(0, 2 - exponent.size(), '0');
  return mantissa + "E" + sign + exponent;
}

std::string list_record(std::span<const OutValue> values) {
  std::string record = " ";
  for (const OutValue& value : values) {
    if (const auto* text = std::get_if<std::string_view>(&value)) {
      record += *text;
    } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
      record += ' ';
      record += std::to_string(*i);
    } else if (const auto* f = std::get_if<float>(&value)) {
      record += ' ';
      record += list_real(*f, true);
    } else {
      record += ' ';
      record += list_real(std::get<double>(value), false);
    }
  }
  return record;
}

}  // namespace velko
