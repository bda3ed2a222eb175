// The fast pass of the line set over the gf records at hand: it checks the
// character classes of all the numeric columns of a record at once with
// vector instructions, finds the record's line end in the same pass, and
// takes (passes over) the records that it is sure the exact decode would pass
// over: comments, and line records whose every numeric field is well formed
// and whose species is not the wanted one. It stops at the first record it is
// not sure of, which the caller then reads and decodes the exact way.
//
// A record is sure when it ends in a line feed past the numeric columns and
// each numeric field has the form that the suite's programs write: the point
// in its column (w - d from the field's start), a digit right after it and
// then digits or blanks, and before it only blanks and digits with at most a
// sign, and nothing but blanks before the sign. Such a field always decodes
// (blanks count for nothing, and it holds a digit). Any other form, even a
// valid one (an exponent, implied decimals, a point elsewhere), goes the
// exact way.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace wavepick {

// Tells, for the six characters of a well-formed species field, whether the
// line is of the wanted species. The answers are remembered per field text:
// a gf slice holds few species, so nearly every record is answered from a
// small table without converting its field.
class GfSpeciesFilter {
 public:
  explicit GfSpeciesFilter(double cod) : cod_(cod) {}

  // field: the six characters, followed by at least two more readable ones.
  bool wanted(const char* field) {
    std::uint64_t key = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&key, field, sizeof key);
      key &= (std::uint64_t{1} << (8 * kFieldWidth)) - 1;
    } else {
      for (std::size_t i = 0; i < kFieldWidth; ++i) {
        key |= static_cast<std::uint64_t>(static_cast<unsigned char>(field[i])) << (8 * i);
      }
    }
    key |= kFilled;
    Entry& entry = entries_[static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 56)];
    if (entry.key != key) {
      entry.key = key;
      entry.wanted = decide(field);
    }
    return entry.wanted;
  }

 private:
  static constexpr std::size_t kFieldWidth = 6;
  static constexpr std::uint64_t kFilled = std::uint64_t{1} << 63;  // never set in an empty entry
  struct Entry {
    std::uint64_t key = 0;
    bool wanted = false;
  };
  bool decide(const char* field) const;

  double cod_;
  std::array<Entry, 256> entries_{};
};

enum class GfScanStop {
  NotSure,    // the next record is to be read the exact way
  NeedBytes,  // the bytes at hand end before the next record can be judged
  Budget,     // as many records as asked for were taken
};

struct GfScan {
  std::size_t bytes = 0;  // taken, up to and including the last line feed taken
  long records = 0;       // taken
  GfScanStop stop = GfScanStop::NotSure;
};

// Takes records from the start of bytes (which starts at a record), at most
// budget of them, with the kernel for the processor at hand.
GfScan scan_gf_records(std::string_view bytes, long budget, GfSpeciesFilter& filter);

// The same with a kernel named: Chosen is the one above, Vector16 the one
// with 16-byte vectors that runs on every processor (tests compare the two).
enum class GfScanKernel { Chosen, Vector16 };
GfScan scan_gf_records(std::string_view bytes, long budget, GfSpeciesFilter& filter,
                       GfScanKernel kernel);

}  // namespace wavepick
