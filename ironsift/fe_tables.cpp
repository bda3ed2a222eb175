#include "fe_tables.h"

#include <cmath>
#include <string_view>

#include "abundance_records.h"
#include "console.h"
#include "io_outcome.h"
#include "record_reader.h"
#include "texts.h"

namespace ironsift {

namespace {

constexpr float kSpeciesFe1 = 26.00f;
constexpr float kSpeciesFe2 = 26.01f;

void widen(float value, float& low, float& high) {
  if (value < low) low = value;
  if (value > high) high = value;
}

// Stores the record as the next entry of table; false when the table is full.
template <int Capacity>
bool append_line(FeLineTable<Capacity>& table, const AbundanceRecord& record, float abundance,
                 std::int32_t use_flag) {
  if (table.count >= Capacity) return false;
  FeLine& line = table.lines[static_cast<std::size_t>(table.count)];
  ++table.count;
  line.line_number = record.line_number;
  line.excitation = record.excitation;
  line.width = record.width;
  line.abundance = abundance;
  line.use_flag = use_flag;
  line.record = record.text;
  return true;
}

template <int Capacity>
void reset_table(FeLineTable<Capacity>& table, std::int32_t use_flag) {
  table.count = 0;
  for (FeLine& line : table.lines) {
    line = FeLine{};
    line.use_flag = use_flag;
  }
}

[[noreturn]] void stop_with_message(const std::string& message) {
  velko::console::write_list({std::string_view(message)});
  velko::stop_program(velko::kExitStopFailure);
}

}  // namespace

FeLoadStatus read_fe_tables(velko::RecordReader& reader, FeTables& tables,
                            RangeTrackers& ranges) {
  reset_table(tables.fe1, 1);
  reset_table(tables.fe2, 2);
  ranges = RangeTrackers{};
  AbundanceRecord record;
  int read = 0;
  for (; read < kAbundanceRecordLimit; ++read) {
    if (!read_abundance_record(reader, record)) break;
    if (record.comment) continue;
    widen(record.width, ranges.width_min, ranges.width_max);
    if (record.species == kSpeciesFe1) {
      if (!append_line(tables.fe1, record, record.abundance_fe1, 1)) {
        return FeLoadStatus::Fe1TableFull;
      }
      widen(record.abundance_fe1, ranges.abundance_min, ranges.abundance_max);
    } else if (record.species == kSpeciesFe2) {
      if (!append_line(tables.fe2, record, record.abundance_fe2, 2)) {
        return FeLoadStatus::Fe2TableFull;
      }
      widen(record.abundance_fe2, ranges.abundance_min, ranges.abundance_max);
    }
  }
  // Lines after the 999th record would never be shown, and the update would
  // leave them out of the rewritten line list: such a file is refused.
  if (read == kAbundanceRecordLimit) {
    std::string_view more;
    if (reader.read_record(more, velko::Handled::EndOfFile) == velko::Outcome::Done)
      return FeLoadStatus::TooManyRecords;
  }
  if (tables.fe1.count == 0 && tables.fe2.count == 0) return FeLoadStatus::NoFeLines;
  return FeLoadStatus::Loaded;
}

std::string star_abundance_file_name(const IronsiftState& state) {
  return state.star.trimmed() + std::string(texts::kAbundanceExtension);
}

RangeTrackers load_star_fe_tables(IronsiftState& state) {
  const std::string file_name = star_abundance_file_name(state);
  if (!velko::file_exists(file_name)) {
    stop_with_message(std::string(texts::kStarAbundanceMissing) + file_name);
  }
  velko::RecordReader reader = velko::RecordReader::open_file(file_name, texts::kUnitStarAbundance);
  RangeTrackers ranges;
  const FeLoadStatus status = read_fe_tables(reader, state.fe, ranges);
  reader.close();
  // A file that cannot be shown or written back in full ends the run here,
  // before any window opens: a partial table would make the update drop the
  // lines that did not fit from the star's line list.
  switch (status) {
    case FeLoadStatus::Loaded:
      break;
    case FeLoadStatus::NoFeLines:
      stop_with_message(std::string(texts::kNoFeLinesStart) + file_name +
                        std::string(texts::kNoFeLinesEnd));
    case FeLoadStatus::Fe1TableFull:
      stop_with_message(std::string(texts::kTooManyFe1Start) + file_name +
                        std::string(texts::kTooManyFe1End));
    case FeLoadStatus::Fe2TableFull:
      stop_with_message(std::string(texts::kTooManyFe2Start) + file_name +
                        std::string(texts::kTooManyFe2End));
    case FeLoadStatus::TooManyRecords:
      stop_with_message(std::string(texts::kTooManyRecordsStart) + file_name +
                        std::string(texts::kTooManyRecordsEnd));
  }
  return ranges;
}

PlotFrame plot_frame(const RangeTrackers& ranges, char run_mode) {
  // trunc is taken in floating point (std::trunc), which rounds toward zero
  // like a conversion to an integer but has no range limit.
  PlotFrame frame;
  if (run_mode == 'c') {
    frame.xlo = 0.0f;
    frame.xhi = 5.0f;
  } else {
    frame.xlo = 50.0f * std::trunc(ranges.width_min / 50.0f);
    frame.xhi = 50.0f * std::trunc(ranges.width_max / 50.0f) + 50.0f;
  }
  frame.ylo = std::trunc(2.0f * ranges.abundance_min) * 0.5f;
  frame.yhi = (std::trunc(2.0f * ranges.abundance_max) + 1.0f) * 0.5f;
  return frame;
}

bool frame_is_finite(const PlotFrame& frame) {
  return std::isfinite(frame.xlo) && std::isfinite(frame.xhi) && std::isfinite(frame.ylo) &&
         std::isfinite(frame.yhi);
}

}  // namespace ironsift
