// Why a run found no candidate line: a reversed range, no gf slice for the
// range under the line-list directory, or no line there of the species.
#pragma once

#include <string>

#include "run_parameters.h"

namespace wavepick {

// The reason, as one message line; the gf slices of the range are read again,
// up to their first line in the range, to tell the last two cases apart.
std::string why_no_candidate(const RunParameters& parameters);

// Tells the reason on standard error, with a reminder of the unit of W1 and W2.
void explain_empty_line_set(const RunParameters& parameters);

}  // namespace wavepick
