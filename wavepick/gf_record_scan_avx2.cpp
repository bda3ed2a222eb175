// The kernel of the line set's fast pass with 32-byte vectors, compiled for
// the AVX2 target; scan_gf_records calls it only on a processor that has it.
// Every header is included before the target is switched on, so that only the
// kernel below is AVX2 code.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "gf_record.h"
#include "gf_record_scan.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "gf_record_scan_kernel.h"

namespace wavepick {
namespace {

struct Vector32 {
  typedef unsigned char Vector __attribute__((vector_size(32)));
  static unsigned movemask(Vector v) {
    return static_cast<unsigned>(_mm256_movemask_epi8(reinterpret_cast<__m256i>(v)));
  }
};

}  // namespace

GfScan scan_gf_records_avx2(std::string_view bytes, long budget, GfSpeciesFilter& filter) {
  return scan_kernel<Vector32>(bytes, budget, filter);
}

}  // namespace wavepick

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
