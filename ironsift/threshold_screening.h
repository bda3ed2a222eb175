// Run mode "i": equivalent-width threshold screening of the star's lines.
//
// The measurements are loaded and averaged once; then the threshold is asked
// for, the rejected lines are listed and the update question is put, as many
// times as the user answers "r".
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ironsift_state.h"
#include "wdt_measurements.h"

namespace ironsift {

inline constexpr float kInfiniteThreshold = 1.0e30f;
inline constexpr float kInfiniteThresholdLimit = 1.0e29f;  // above this: infinite

enum class Verdict {
  NotMeasured,  // no measurement: neither listed nor written
  Accepted,
  Exceed,       // mean at or above the threshold
  NoWidth,      // every width 0 or below: no mean to judge or use
  NoRefs,       // the reference star lacks the line
};

struct ScreeningResult {
  std::array<Verdict, kLineTableSize> verdicts{};
  int rejected = 0;
};

// The rejection tag of a verdict in the listing and the deletion log: ">"
// exceed, "#" no refs, "-" no width, blank for an accepted line.
std::string_view tag_of(Verdict verdict);

// The threshold from the user's answer: one real read in free format from its
// first 10 characters; no value, a value that cannot be read, or one of 0 or
// below give infinity.
float threshold_from_answer(const std::string& answer);

// The verdict of one measured line.
Verdict judge_line(const MeasurementSlot& slot, std::int32_t line_number, float threshold,
                   const ReferenceAbundances& reference);

// Asks for the threshold, writes what it was set to, judges every measured
// line and lists the rejected ones.
ScreeningResult screen_once(const IronsiftState& state, const MeasurementTable& table);

// The whole of run mode "i". Does not return: the program ends at the update
// question.
[[noreturn]] void run_threshold_mode(const IronsiftState& state);

}  // namespace ironsift
