// The line record of the suite's gf files: its fixed columns and the species
// rule of the line set. Both the exact decode (line_set.cpp) and the fast
// whole-record check (gf_record_scan.*) are built from this one table.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

namespace wavepick {

inline constexpr std::size_t kGfRecordLength = 133;  // a gf record is read as 133 characters
inline constexpr std::size_t kGfLineFieldsEnd = 98;  // the line record's fields end here

// One Fw.d field of a gf line record: its first column (counted from 0), its
// width w and its decimals d.
struct GfColumn {
  std::size_t start;
  std::size_t width;
  int decimals;
};

inline constexpr GfColumn kWavelength{0, 11, 4};
inline constexpr GfColumn kLogGf{11, 7, 3};
inline constexpr GfColumn kSpecies{18, 6, 2};
inline constexpr GfColumn kEnergy1{24, 12, 3};
inline constexpr GfColumn kJ1{36, 5, 1};
// Column 41 is skipped and 42-51 hold the first level's label (not used).
inline constexpr GfColumn kEnergy2{52, 12, 3};
inline constexpr GfColumn kJ2{64, 5, 1};
// Column 69 is skipped and 70-79 hold the second level's label (not used).
inline constexpr GfColumn kGammaRadiative{80, 6, 2};
inline constexpr GfColumn kGammaStark{86, 6, 2};
inline constexpr GfColumn kGammaVanDerWaals{92, 6, 2};

// Every numeric field, in record order.
inline constexpr std::array<GfColumn, 10> kGfNumericColumns = {
    kWavelength, kLogGf,  kSpecies,        kEnergy1,    kJ1,
    kEnergy2,    kJ2,     kGammaRadiative, kGammaStark, kGammaVanDerWaals,
};

// Species codes within this distance of the wanted code are kept (the
// single-precision value of 0.001, widened).
inline constexpr double kSpeciesTolerance = static_cast<double>(0.001f);

inline bool species_wanted(double species, double cod) {
  return std::fabs(species - cod) <= kSpeciesTolerance;
}

}  // namespace wavepick
