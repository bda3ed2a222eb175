// The tables and names that ironsift keeps for the whole run.
//
// Every capacity is fixed; nothing grows on demand. The driver fills the line
// table, the names and the reference abundances once at start-up; the
// interactive mode fills the Fe line tables once from the star's ".abd"; after
// that only the use flags of the Fe line tables change.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lablen.h"

namespace ironsift {

inline constexpr int kLineTableSize = 330;       // lines of "params.dat"
inline constexpr int kNameLength = 40;           // star and reference names
inline constexpr int kReferenceSize = 9999;      // reference values for line numbers 1..9999
inline constexpr float kMissingReference = -999.9f;
inline constexpr int kFe1Capacity = 302;
inline constexpr int kFe2Capacity = 28;
using velko::kRecordTextLength;                  // ".abd" and ".wdt" records as read

struct LineTableEntry {
  std::int32_t line_number = 0;
  double wavelength = 0.0;  // ångström
};

// A name of 40 characters, blank-padded, with the positions (from 1) of its
// first and last non-blank character as LABLEN gives them.
struct FixedName {
  std::string text = std::string(kNameLength, ' ');
  int first = kNameLength + 1;
  int last = 0;
  // The characters from first to last; empty when the name is all blanks.
  std::string trimmed() const {
    return last >= first ? text.substr(static_cast<std::size_t>(first - 1),
                                       static_cast<std::size_t>(last - first + 1))
                         : std::string();
  }
};

struct ReferenceAbundances {
  bool given = false;        // the first argument named a reference
  bool exists = false;       // its ".abd" exists
  int record_count = 0;      // data records read from it
  std::vector<float> values = std::vector<float>(kReferenceSize, kMissingReference);
  // The value for a line number; kMissingReference outside 1..9999.
  float value(std::int32_t line_number) const {
    return line_number >= 1 && line_number <= kReferenceSize
               ? values[static_cast<std::size_t>(line_number - 1)]
               : kMissingReference;
  }
};

// One Fe line of the star's ".abd".
struct FeLine {
  std::int32_t line_number = 0;
  float excitation = 0.0f;  // eV, value 4
  float width = 0.0f;       // mÅ, value 6
  float abundance = 0.0f;   // value 7 (Fe I) or 8 (Fe II)
  std::int32_t use_flag = 0;  // > 0 in use; <= 0 rejected
  std::string record;       // the record as read, 80 characters
};

// What tells the Fe I and the Fe II line table apart: the species code of
// their records, the use flag of a line in use (a rejected line has its
// negative), and how the plots draw their points (PGPLOT's marker numbers and
// colour index).
struct FeSpecies {
  std::string_view name;       // "Fe I", "Fe II"
  float code;                  // species code of the ".abd" records, as a 32-bit real
  std::int32_t in_use_flag;    // 1 or 2; rejected: -1 or -2
  int in_use_marker;
  int rejected_marker;
  int colour;
};

inline constexpr FeSpecies kFe1{"Fe I", 26.00f, 1, 4 /* open circle */, 5 /* diagonal cross */,
                                4 /* blue */};
inline constexpr FeSpecies kFe2{"Fe II", 26.01f, 2, 6 /* open square */, 2 /* plus */,
                                3 /* green */};

template <int Capacity>
struct FeLineTable {
  static constexpr int kCapacity = Capacity;
  int count = 0;
  std::array<FeLine, Capacity> lines{};
  // The entries in use: the first count lines, never more than the table holds.
  std::span<FeLine> entries() { return std::span<FeLine>(lines).first(used()); }
  std::span<const FeLine> entries() const {
    return std::span<const FeLine>(lines).first(used());
  }

 private:
  std::size_t used() const {
    return static_cast<std::size_t>(count < 0 ? 0 : count < Capacity ? count : Capacity);
  }
};

// One Fe line table seen through its entries in use and its species.
template <class Line>
struct FeTableViewOf {
  const FeSpecies& species;
  std::span<Line> lines;
};
using FeTableView = FeTableViewOf<FeLine>;
using ConstFeTableView = FeTableViewOf<const FeLine>;

struct FeTables {
  FeLineTable<kFe1Capacity> fe1;
  FeLineTable<kFe2Capacity> fe2;
  // Both tables, Fe I first: the order in which every pass, sum and listing
  // goes through the lines.
  std::array<FeTableView, 2> views() { return {{{kFe1, fe1.entries()}, {kFe2, fe2.entries()}}}; }
  std::array<ConstFeTableView, 2> views() const {
    return {{{kFe1, fe1.entries()}, {kFe2, fe2.entries()}}};
  }
};

// The four world-coordinate limits of the plot.
struct PlotFrame {
  float xlo = 0.0f, xhi = 0.0f, ylo = 0.0f, yhi = 0.0f;
};

struct IronsiftState {
  std::array<LineTableEntry, kLineTableSize> line_table{};
  FixedName star;
  FixedName reference;  // all blanks when no "/" in argument 1
  char run_mode = ' ';  // 'i', 'w' or 'c'
  ReferenceAbundances reference_abundances;
  FeTables fe;
};

}  // namespace ironsift
