// The fast pass of the line set: the species filter, the kernel with 16-byte
// vectors, and the choice of the kernel for the processor at hand.
#include "gf_record_scan.h"

#include <string_view>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "field_decode.h"
#include "gf_record.h"
#include "gf_record_scan_kernel.h"

namespace wavepick {

#if defined(WAVEPICK_AVX2_SCAN)
// gf_record_scan_avx2.cpp: the kernel with 32-byte vectors.
GfScan scan_gf_records_avx2(std::string_view bytes, long budget, GfSpeciesFilter& filter);
#endif

namespace {

struct Vector16 {
  typedef unsigned char Vector __attribute__((vector_size(16)));
#if defined(__x86_64__)
  static unsigned movemask(Vector v) {
    return static_cast<unsigned>(_mm_movemask_epi8(reinterpret_cast<__m128i>(v)));
  }
#else
  static unsigned movemask(Vector v) {
    unsigned bits = 0;
    for (unsigned i = 0; i < sizeof(Vector); ++i) bits |= static_cast<unsigned>(v[i] >> 7) << i;
    return bits;
  }
#endif
};

bool avx2_at_hand() {
#if defined(WAVEPICK_AVX2_SCAN)
  static const bool supported = __builtin_cpu_supports("avx2");
  return supported;
#else
  return false;
#endif
}

}  // namespace

bool GfSpeciesFilter::decide(const char* field) const {
  double species = 0;
  // The field is well formed when asked; should it not decode, the record is
  // left to the exact way, which reports it.
  if (!velko::decode_real(std::string_view(field, kFieldWidth), kSpecies.decimals, species)) {
    return true;
  }
  return species_wanted(species, cod_);
}

GfScan scan_gf_records(std::string_view bytes, long budget, GfSpeciesFilter& filter) {
#if defined(WAVEPICK_AVX2_SCAN)
  if (avx2_at_hand()) return scan_gf_records_avx2(bytes, budget, filter);
#endif
  return scan_kernel<Vector16>(bytes, budget, filter);
}

GfScan scan_gf_records(std::string_view bytes, long budget, GfSpeciesFilter& filter,
                       GfScanKernel kernel) {
  if (kernel == GfScanKernel::Vector16) return scan_kernel<Vector16>(bytes, budget, filter);
  return scan_gf_records(bytes, budget, filter);
}

}  // namespace wavepick
