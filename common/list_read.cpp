// Free-format reads over records.
#include "list_read.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "lablen.h"

namespace velko {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_bare_value(char c) { return is_blank(c) || c == ',' || c == '/'; }

// How a token fails to be a number: a character that can be no part of a
// number ("12abc"), or number characters that do not make one ("1.2.3", "+",
// "1E").
enum class NumberSyntax { Valid, StrayCharacter, Malformed };

bool can_be_in_number(char c) {
  switch (c) {
    case '+': case '-': case '.': case 'E': case 'e': case 'D': case 'd': case 'Q': case 'q':
      return true;
    default:
      return is_digit(c);
  }
}

// Checks the number syntax of a token and turns it into a C number text
// (D and Q exponents written as E). Sets has_point_or_exponent.
NumberSyntax canonical_number(std::string_view token, std::string& out, bool& has_point_or_exponent) {
  for (const char c : token)
    if (!can_be_in_number(c)) return NumberSyntax::StrayCharacter;
  std::size_t i = 0;
  out.clear();
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) out.push_back(token[i++]);
  std::size_t digits = 0;
  has_point_or_exponent = false;
  while (i < token.size() && is_digit(token[i])) {
    out.push_back(token[i++]);
    ++digits;
  }
  if (i < token.size() && token[i] == '.') {
    has_point_or_exponent = true;
    out.push_back(token[i++]);
    while (i < token.size() && is_digit(token[i])) {
      out.push_back(token[i++]);
      ++digits;
    }
  }
  if (i < token.size()) {
    const char e = token[i];
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd' && e != 'Q' && e != 'q') return NumberSyntax::Malformed;
    if (digits == 0) return NumberSyntax::Malformed;
    has_point_or_exponent = true;
    out.push_back('E');
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) out.push_back(token[i++]);
    std::size_t exp_digits = 0;
    while (i < token.size() && is_digit(token[i])) {
      out.push_back(token[i++]);
      ++exp_digits;
    }
    if (exp_digits == 0 || i < token.size()) return NumberSyntax::Malformed;
  }
  return digits == 0 ? NumberSyntax::Malformed : NumberSyntax::Valid;
}

// Assigns one value token to a target. Returns true on success; on a failure
// returns false and sets error to the situation to report.
bool assign(std::string_view token, const InTarget& target, IoError& error) {
  if (auto* const* text = std::get_if<std::string*>(&target)) {
    std::string value;
    if (!token.empty() && (token.front() == '\'' || token.front() == '"')) {
      const char quote = token.front();
      for (std::size_t i = 1; i < token.size(); ++i) {
        if (token[i] == quote) {
          if (i + 1 < token.size() && token[i + 1] == quote) {
            value.push_back(quote);
            ++i;
            continue;
          }
          break;
        }
        value.push_back(token[i]);
      }
    } else {
      value.assign(token);
    }
    **text = fixed_text(value, (*text)->size());
    return true;
  }
  const char first = token.empty() ? '\0' : token.front();
  if (!(is_digit(first) || first == '+' || first == '-' || first == '.')) {
    error = IoError::ListSyntax;  // cannot start a number
    return false;
  }
  std::string number;
  bool point_or_exponent = false;
  switch (canonical_number(token, number, point_or_exponent)) {
    case NumberSyntax::Valid: break;
    case NumberSyntax::StrayCharacter: error = IoError::ListSyntax; return false;
    case NumberSyntax::Malformed: error = IoError::Conversion; return false;
  }
  errno = 0;
  if (auto* const* i = std::get_if<std::int32_t*>(&target)) {
    if (!point_or_exponent) {
      const long long v = std::strtoll(number.c_str(), nullptr, 10);
      if (errno == ERANGE || v > std::numeric_limits<std::int32_t>::max() ||
          v < std::numeric_limits<std::int32_t>::min()) {
        error = IoError::Conversion;
        return false;
      }
      **i = static_cast<std::int32_t>(v);
      return true;
    }
    const double v = std::trunc(std::strtod(number.c_str(), nullptr));  // cut toward zero
    if (!(v <= std::numeric_limits<std::int32_t>::max() && v >= std::numeric_limits<std::int32_t>::min())) {
      error = IoError::Conversion;
      return false;
    }
    **i = static_cast<std::int32_t>(v);
    return true;
  }
  if (auto* const* f = std::get_if<float*>(&target)) {
    const float v = std::strtof(number.c_str(), nullptr);
    if (std::isinf(v)) {
      error = IoError::Conversion;
      return false;
    }
    **f = v;
    return true;
  }
  auto* const* d = std::get_if<double*>(&target);
  const double v = std::strtod(number.c_str(), nullptr);
  if (std::isinf(v)) {
    error = IoError::Conversion;
    return false;
  }
  **d = v;
  return true;
}

// The end of a value token starting at pos: a quoted text runs to its closing
// quote, a bare value to the next blank, tab, comma, slash or record end.
std::size_t token_end(std::string_view record, std::size_t pos) {
  const char c = record[pos];
  if (c == '\'' || c == '"') {
    std::size_t i = pos + 1;
    while (i < record.size()) {
      if (record[i] == c) {
        if (i + 1 < record.size() && record[i + 1] == c) {
          i += 2;
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return record.size();
  }
  std::size_t i = pos;
  while (i < record.size() && !ends_bare_value(record[i])) ++i;
  return i;
}

}  // namespace

Outcome read_list_records(std::span<const InTarget> targets, RecordSupply& supply,
                          ReadFailure& failure) {
  std::string_view record;
  if (!supply.next(record)) {
    failure = {IoError::EndOfFile, {}};
    return Outcome::EndOfFile;
  }
  std::size_t pos = 0;
  std::size_t next_target = 0;
  bool after_comma = true;  // at the start, a comma gives a null value
  long repeat_left = 0;     // copies of repeat_token (or nulls) still to assign
  std::string repeat_token;
  bool repeat_null = false;

  auto fail = [&](IoError error) {
    failure = {error, std::string(record)};
    return Outcome::Error;
  };

  while (next_target < targets.size()) {
    if (repeat_left > 0) {
      if (!repeat_null) {
        IoError error{};
        if (!assign(repeat_token, targets[next_target], error)) return fail(error);
      }
      ++next_target;
      --repeat_left;
      continue;
    }
    while (pos < record.size() && is_blank(record[pos])) ++pos;
    if (pos >= record.size()) {  // the record end separates values; go on with the next record
      if (!supply.next(record)) {
        failure = {IoError::EndOfFile, {}};
        return Outcome::EndOfFile;
      }
      pos = 0;
      continue;
    }
    const char c = record[pos];
    if (c == ',') {
      if (after_comma) ++next_target;  // two commas, or a leading comma: a null value
      after_comma = true;
      ++pos;
      continue;
    }
    if (c == '/') return Outcome::Done;  // the rest keep their values
    const std::size_t end = token_end(record, pos);
    const std::string_view token = record.substr(pos, end - pos);
    pos = end;
    after_comma = false;

    // r*v and r*: a repeat count of digits directly followed by an asterisk.
    std::size_t star = 0;
    while (star < token.size() && is_digit(token[star])) ++star;
    if (star > 0 && star < token.size() && token[star] == '*') {
      long count = 0;
      for (std::size_t k = 0; k < star; ++k) {
        count = count * 10 + (token[k] - '0');
        if (count > 1000000) return fail(IoError::ListSyntax);
      }
      if (count == 0) return fail(IoError::ListSyntax);
      repeat_left = count;
      repeat_token.assign(token.substr(star + 1));
      repeat_null = repeat_token.empty();
      continue;
    }
    IoError error{};
    if (!assign(token, targets[next_target], error)) return fail(error);
    ++next_target;
  }
  return Outcome::Done;
}

}  // namespace velko
