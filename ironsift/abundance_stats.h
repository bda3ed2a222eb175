// The mean abundance and its standard deviation over the Fe lines in use.
#pragma once

#include "ironsift_state.h"

namespace ironsift {

// Pools the Fe I and then the Fe II lines whose use flag is above 0, each with
// the same weight. Sums are carried in double; the standard deviation divides
// by n, the number of lines in use (not n - 1). Only the two results are
// rounded to 32 bits.
//
// With no line in use there is no mean: the function returns false and sets
// both results to 0 (the plots then draw no mean or 2-sigma lines, so no NaN
// reaches the graphics library). Otherwise it returns true.
bool AVSIG(const FeTables& tables, float& mean, float& sigma);

}  // namespace ironsift
