#include "fe_tables.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "abundance_records.h"
#include "console.h"
#include "outcome.h"
#include "program_end.h"
#include "report.h"
#include "record_reader.h"
#include "texts.h"
#include "values.h"
#include "warnings.h"

namespace ironsift {

namespace {

void widen(float value, float& low, float& high) {
  if (value < low) low = value;
  if (value > high) high = value;
}

// A table with all its slots, for loading: the entries in use are the first
// count of them.
struct TableSlots {
  const FeSpecies& species;
  int& count;
  std::span<FeLine> slots;
  FeLoadStatus full_status;
};

std::array<TableSlots, 2> table_slots(FeTables& tables) {
  return {{{kFe1, tables.fe1.count, tables.fe1.lines, FeLoadStatus::Fe1TableFull},
           {kFe2, tables.fe2.count, tables.fe2.lines, FeLoadStatus::Fe2TableFull}}};
}

// The table whose species code the record carries, compared as 32-bit reals;
// nullptr for any other species.
TableSlots* table_of(std::array<TableSlots, 2>& tables, float species_code) {
  for (TableSlots& table : tables) {
    if (table.species.code == species_code) return &table;
  }
  return nullptr;
}

bool is_fe_species(float species_code) {
  return species_code == kFe1.code || species_code == kFe2.code;
}

[[noreturn]] void stop_with_message(const std::string& message) {
  velko::console::write_list({std::string_view(message)});
  velko::stop_program(velko::kExitStopFailure);
}

// True when the text is an Fe I or Fe II data record: not a comment, and its
// first two values read as a line number and one of the two species codes.
bool is_fe_data_record(const std::string& text) {
  if (text.empty() || text.front() == '#') return false;
  std::int32_t line_number = 0;
  float species = 0.0f;
  if (velko::read_list_text(text, {&line_number, &species}, velko::Handled::Errors) !=
      velko::Outcome::Done) {
    return false;
  }
  return is_fe_species(species);
}

}  // namespace

FeLoadStatus read_fe_tables(velko::RecordReader& reader, FeTables& tables,
                            RangeTrackers& ranges) {
  std::array<TableSlots, 2> slots = table_slots(tables);
  for (TableSlots& table : slots) {
    table.count = 0;
    for (FeLine& line : table.slots) {
      line = FeLine{};
      line.use_flag = table.species.in_use_flag;
    }
  }
  ranges = RangeTrackers{};
  AbundanceRecord record;
  int read = 0;
  for (; read < kAbundanceRecordLimit; ++read) {
    if (!read_abundance_record(reader, record)) break;
    if (record.comment) continue;
    widen(record.width, ranges.width_min, ranges.width_max);
    TableSlots* table = table_of(slots, record.species);
    if (table == nullptr) continue;
    if (static_cast<std::size_t>(table->count) >= table->slots.size()) return table->full_status;
    FeLine& line = table->slots[static_cast<std::size_t>(table->count)];
    ++table->count;
    line.line_number = record.line_number;
    line.excitation = record.excitation;
    line.width = record.width;
    line.abundance = abundance_of(record, table->species);
    line.record = record.text;
    widen(line.abundance, ranges.abundance_min, ranges.abundance_max);
  }
  bool rest_not_read = false;
  if (read == kAbundanceRecordLimit) {
    std::string text(kRecordTextLength, ' ');
    while (reader.read_text(text, kRecordTextLength, velko::Handled::EndOfFile) ==
           velko::Outcome::Done) {
      rest_not_read = true;
      if (is_fe_data_record(text)) return FeLoadStatus::TooManyRecords;
    }
  }
  if (tables.fe1.count == 0 && tables.fe2.count == 0) return FeLoadStatus::NoFeLines;
  return rest_not_read ? FeLoadStatus::LoadedFirst999 : FeLoadStatus::Loaded;
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
    case FeLoadStatus::LoadedFirst999:
      warn(file_name + std::string(texts::kAbundanceRestNotRead));
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
  // trunc keeps the sign of a value between -1 and 0 (-0.0): the limit is
  // passed as 0.0, which is what a conversion to an integer gives.
  for (float* limit : {&frame.xlo, &frame.xhi, &frame.ylo, &frame.yhi}) {
    if (*limit == 0.0f) *limit = 0.0f;
  }
  return frame;
}

bool frame_is_finite(const PlotFrame& frame) {
  return std::isfinite(frame.xlo) && std::isfinite(frame.xhi) && std::isfinite(frame.ylo) &&
         std::isfinite(frame.yhi);
}

}  // namespace ironsift
