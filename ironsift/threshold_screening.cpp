#include "threshold_screening.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "console.h"
#include "lablen.h"
#include "layout.h"
#include "line_list_update.h"
#include "record_reader.h"
#include "texts.h"
#include "values.h"

namespace ironsift {
namespace {

constexpr std::size_t kAnswerLength = 10;

std::string_view label_of(Verdict verdict) {
  switch (verdict) {
    case Verdict::Exceed: return texts::kLabelExceed;
    case Verdict::NoWidth: return texts::kLabelNoWidth;
    case Verdict::NoRefs: return texts::kLabelNoRefs;
    case Verdict::NotMeasured:
    case Verdict::Accepted: break;
  }
  return {};
}

}  // namespace

std::string_view tag_of(Verdict verdict) {
  switch (verdict) {
    case Verdict::Exceed: return texts::kTagExceed;
    case Verdict::NoWidth: return texts::kTagNoWidth;
    case Verdict::NoRefs: return texts::kTagNoRefs;
    case Verdict::NotMeasured:
    case Verdict::Accepted: break;
  }
  return texts::kTagAccepted;
}

namespace {

float ask_threshold() {
  velko::console::write_list({texts::kThresholdPrompt});
  std::string answer;
  // End of input counts as an empty answer: infinity.
  if (!velko::console::read_line(answer)) answer.clear();
  const float threshold = threshold_from_answer(answer);
  if (threshold > kInfiniteThresholdLimit) {
    velko::console::write_list({texts::kThresholdInfinite});
  } else {
    static const velko::Layout layout(texts::kThresholdSetLayout);
    velko::console::write_formatted(layout, {threshold});
  }
  return threshold;
}

// One rejected line on the console; widths beyond five go on further records
// aligned under the first five.
void list_rejected_line(Verdict verdict, const LineTableEntry& entry,
                        const MeasurementSlot& slot) {
  static const velko::Layout line_layout(texts::kRejectedLineLayout);
  static const velko::Layout more_layout(texts::kRejectedMoreWidthsLayout);
  const CopiedPieces pieces = copied_pieces(slot);
  std::vector<velko::OutValue> values = {
      label_of(verdict),
      entry.line_number,
      -std::fabs(slot.mean),
      pieces.start,
      pieces.middle,
      pieces.tail,
      tag_of(verdict),
      std::int32_t{slot.count},
  };
  int shown = 0;
  for (; shown < slot.count && shown < texts::kWidthsPerListingRecord; ++shown) {
    values.emplace_back(slot.measurements[static_cast<std::size_t>(shown)].width);
  }
  velko::console::write_formatted(line_layout, values);
  while (shown < slot.count) {
    std::vector<velko::OutValue> more;
    for (int k = 0; k < texts::kWidthsPerListingRecord && shown < slot.count; ++k, ++shown) {
      more.emplace_back(slot.measurements[static_cast<std::size_t>(shown)].width);
    }
    velko::console::write_formatted(more_layout, more);
  }
}

}  // namespace

float threshold_from_answer(const std::string& answer) {
  const std::string first = velko::fixed_text(answer, kAnswerLength);
  float threshold = kInfiniteThreshold;  // an empty value (",", "/") leaves infinity
  if (velko::read_list_text(first, {&threshold}, velko::Handled::Errors) !=
      velko::Outcome::Done) {
    return kInfiniteThreshold;
  }
  return threshold > 0.0f ? threshold : kInfiniteThreshold;
}

Verdict judge_line(const MeasurementSlot& slot, std::int32_t line_number, float threshold,
                   const ReferenceAbundances& reference) {
  if (slot.count == 0) return Verdict::NotMeasured;
  if (slot.mean >= threshold) return Verdict::Exceed;
  // A line whose widths are all 0 or below has no width to judge or to pass
  // on to the analysis: it is rejected at any threshold, under its own label.
  if (!slot.has_positive_width) return Verdict::NoWidth;
  // A line number outside 1..9999 has no place in the reference table and so
  // counts as missing from the reference.
  if (reference.given && reference.value(line_number) < 0.0f) return Verdict::NoRefs;
  return Verdict::Accepted;
}

ScreeningResult screen_once(const IronsiftState& state, const MeasurementTable& table) {
  const float threshold = ask_threshold();
  velko::console::write_list({texts::kRejectedHeading});
  ScreeningResult result;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Verdict verdict = judge_line(table[i], state.line_table[i].line_number, threshold,
                                       state.reference_abundances);
    result.verdicts[i] = verdict;
    if (verdict == Verdict::NotMeasured || verdict == Verdict::Accepted) continue;
    ++result.rejected;
    list_rejected_line(verdict, state.line_table[i], table[i]);
  }
  if (result.rejected == 0) velko::console::write_list({texts::kNothingRejected});
  return result;
}

void run_threshold_mode(const IronsiftState& state) {
  static MeasurementTable table;  // 330 slots of ten 80-character records: kept off the stack
  load_measurements(state, state.star.trimmed() + std::string(texts::kWidthsExtension), table);
  compute_means(table);
  for (;;) {
    const ScreeningResult result = screen_once(state, table);
    threshold_update_question(state, table, result);  // returns only on "r"
  }
}

}  // namespace ironsift
