// The kernel of scan_gf_records, written once with the compiler's vector
// extensions and compiled once per instruction set: gf_record_scan.cpp
// builds it with 16-byte vectors (SSE2, or plain code elsewhere) and
// gf_record_scan_avx2.cpp with 32-byte vectors under the AVX2 target.
// Everything here has internal linkage, so that each compilation keeps its
// own code and no AVX2 code can stand in for the plain one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "gf_record.h"
#include "gf_record_scan.h"

namespace wavepick {
namespace {

__extension__ typedef unsigned __int128 ColumnBits;  // bit c: column c (from 0)

// Columns looked at with vectors; every numeric column lies below.
constexpr std::size_t kScanColumns = 128;
// A record longer than this goes the exact way.
constexpr std::size_t kMaxSureRecord = 4096;

constexpr ColumnBits column_bit(std::size_t column) { return ColumnBits{1} << column; }

constexpr ColumnBits column_span(std::size_t from, std::size_t to) {
  ColumnBits bits = 0;
  for (std::size_t c = from; c < to; ++c) bits |= column_bit(c);
  return bits;
}

constexpr std::size_t point_column(const GfColumn& field) {
  return field.start + field.width - static_cast<std::size_t>(field.decimals) - 1;
}

// The columns of the sure form: the point of each field, the first column
// after it (a digit), the rest after it (digits and blanks), the part before
// it (blanks, digits, a sign), and each field's first column.
struct SureForm {
  ColumnBits point = 0;
  ColumnBits first_decimal = 0;
  ColumnBits later_decimals = 0;
  ColumnBits before_point = 0;
  ColumnBits field_start = 0;
  ColumnBits first_field = 0;
};

constexpr SureForm make_sure_form() {
  SureForm form;
  for (const GfColumn& field : kGfNumericColumns) {
    const std::size_t point = point_column(field);
    form.point |= column_bit(point);
    form.first_decimal |= column_bit(point + 1);
    form.later_decimals |= column_span(point + 2, field.start + field.width);
    form.before_point |= column_span(field.start, point);
    form.field_start |= column_bit(field.start);
  }
  form.first_field = column_span(kWavelength.start, kWavelength.start + kWavelength.width);
  return form;
}

constexpr bool sure_form_fits() {
  for (const GfColumn& field : kGfNumericColumns) {
    if (field.decimals < 1 || static_cast<std::size_t>(field.decimals) >= field.width ||
        field.start + field.width > kGfLineFieldsEnd)
      return false;
  }
  return kGfLineFieldsEnd <= kScanColumns && kWavelength.start == 0;
}
static_assert(sure_form_fits(), "every numeric field has decimals and lies in the scanned columns");

constexpr SureForm kSureForm = make_sure_form();

// The same column sets as bytes (0xFF in a column of the set), for vectors;
// no_line_end: the columns that a line end must not be in.
struct ColumnBytes {
  unsigned char point[kScanColumns];
  unsigned char first_decimal[kScanColumns];
  unsigned char later_decimals[kScanColumns];
  unsigned char before_point[kScanColumns];
  unsigned char no_line_end[kScanColumns];
};

constexpr ColumnBytes make_column_bytes() {
  ColumnBytes bytes{};
  for (std::size_t c = 0; c < kScanColumns; ++c) {
    const ColumnBits bit = column_bit(c);
    bytes.point[c] = (kSureForm.point & bit) ? 0xFF : 0;
    bytes.first_decimal[c] = (kSureForm.first_decimal & bit) ? 0xFF : 0;
    bytes.later_decimals[c] = (kSureForm.later_decimals & bit) ? 0xFF : 0;
    bytes.before_point[c] = (kSureForm.before_point & bit) ? 0xFF : 0;
    bytes.no_line_end[c] = c < kGfLineFieldsEnd ? 0xFF : 0;
  }
  return bytes;
}

constexpr ColumnBytes kColumnBytes = make_column_bytes();

// Isa: Vector (unsigned char lanes) and movemask(v): bit i set when lane i has
// its top bit set.
template <class Isa>
inline typename Isa::Vector load_vector(const void* from) {
  typename Isa::Vector v;
  std::memcpy(&v, from, sizeof v);
  return v;
}

template <class Isa>
inline typename Isa::Vector splat(unsigned char c) {
  typename Isa::Vector v;
  std::memset(&v, c, sizeof v);
  return v;
}

template <class Isa>
GfScan scan_kernel(std::string_view bytes, long budget, GfSpeciesFilter& filter) {
  using Vector = typename Isa::Vector;
  constexpr std::size_t kLanes = sizeof(Vector);
  constexpr std::size_t kVectors = kScanColumns / kLanes;
  static_assert(kScanColumns % kLanes == 0 && 64 % kLanes == 0);
  const Vector zero_char = splat<Isa>('0');
  const Vector ten = splat<Isa>(10);
  const Vector point_char = splat<Isa>('.');
  const Vector minus_char = splat<Isa>('-');
  const Vector plus_char = splat<Isa>('+');
  const Vector blank_char = splat<Isa>(' ');
  const Vector line_feed = splat<Isa>('\n');

  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  const char* record = begin;
  GfScan scan;
  for (;;) {
    if (scan.records >= budget) {
      scan.stop = GfScanStop::Budget;
      break;
    }
    if (static_cast<std::size_t>(end - record) < kScanColumns) {
      scan.stop = GfScanStop::NeedBytes;
      break;
    }
    // Character classes of the scanned columns: a column outside its part of
    // the sure form makes the record unsure; digits and signs before the
    // points are kept as bits for the sign rule.
    Vector unsure{};
    std::uint64_t digit_words[2] = {0, 0};
    std::uint64_t sign_words[2] = {0, 0};
#pragma GCC unroll 8
    for (std::size_t k = 0; k < kVectors; ++k) {
      const std::size_t column = k * kLanes;
      const Vector c = load_vector<Isa>(record + column);
      const Vector is_digit = reinterpret_cast<Vector>((c - zero_char) < ten);
      const Vector is_point = reinterpret_cast<Vector>(c == point_char);
      const Vector is_sign = reinterpret_cast<Vector>((c == minus_char) | (c == plus_char));
      const Vector is_blank = reinterpret_cast<Vector>(c == blank_char);
      const Vector is_line_feed = reinterpret_cast<Vector>(c == line_feed);
      const Vector point = load_vector<Isa>(kColumnBytes.point + column);
      const Vector first_decimal = load_vector<Isa>(kColumnBytes.first_decimal + column);
      const Vector later_decimals = load_vector<Isa>(kColumnBytes.later_decimals + column);
      const Vector before_point = load_vector<Isa>(kColumnBytes.before_point + column);
      const Vector no_line_end = load_vector<Isa>(kColumnBytes.no_line_end + column);
      unsure |= (point & ~is_point) | (first_decimal & ~is_digit) |
                (later_decimals & ~(is_digit | is_blank)) |
                (before_point & ~(is_blank | is_digit | is_sign)) | (no_line_end & is_line_feed);
      digit_words[column / 64] |= std::uint64_t{Isa::movemask(is_digit & before_point)}
                                  << (column % 64);
      sign_words[column / 64] |= std::uint64_t{Isa::movemask(is_sign & before_point)}
                                 << (column % 64);
    }
    if (Isa::movemask(unsure) != 0) {
      scan.stop = GfScanStop::NotSure;
      break;
    }
    // Blanks count for nothing in a field, so a sign must be the first
    // non-blank character of its field. The lowest of the digits, signs and
    // the point in each field is found by one subtraction: the field's first
    // column borrows up to it and no further, as every field holds its point.
    const ColumnBits digits = (ColumnBits{digit_words[1]} << 64) | digit_words[0];
    const ColumnBits signs = (ColumnBits{sign_words[1]} << 64) | sign_words[0];
    const ColumnBits marks = digits | signs | kSureForm.point;
    const ColumnBits first_marks = marks & ~(marks - kSureForm.field_start);
    if ((signs & ~first_marks) != 0) {
      scan.stop = GfScanStop::NotSure;
      break;
    }
    // The line end, past the numeric columns and within kMaxSureRecord
    // characters: vectors as far as they fit, then the last bytes one by one.
    const bool too_long_at_hand = static_cast<std::size_t>(end - record) > kMaxSureRecord;
    const char* const limit = too_long_at_hand ? record + kMaxSureRecord + 1 : end;
    const char* at = record + kGfLineFieldsEnd;
    const char* line_end = nullptr;
    for (; static_cast<std::size_t>(limit - at) >= kLanes; at += kLanes) {
      const unsigned found =
          Isa::movemask(reinterpret_cast<Vector>(load_vector<Isa>(at) == line_feed));
      if (found != 0) {
        line_end = at + __builtin_ctz(found);
        break;
      }
    }
    if (line_end == nullptr && at < limit) {
      line_end = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(limit - at)));
    }
    if (line_end == nullptr) {
      scan.stop = too_long_at_hand ? GfScanStop::NotSure : GfScanStop::NeedBytes;
      break;
    }
    // The first non-blank character of the record is the first mark of its
    // first field: a digit makes it a line record, a sign or the point a
    // comment.
    const bool line = (first_marks & digits & kSureForm.first_field) != 0;
    if (line && filter.wanted(record + kSpecies.start)) {
      scan.stop = GfScanStop::NotSure;
      break;
    }
    record = line_end + 1;
    ++scan.records;
    scan.bytes = static_cast<std::size_t>(record - begin);
  }
  return scan;
}

}  // namespace
}  // namespace wavepick
