#include "wdt_measurements.h"

#include <cmath>
#include <cstdio>

#include "layout.h"
#include "record_decode.h"
#include "record_reader.h"
#include "texts.h"
#include "warnings.h"

namespace ironsift {
namespace {

constexpr long kRecordLimit = 99999;
// The match tolerance is the single-precision 0.02 (0.019999999552965164).
constexpr double kMatchTolerance = static_cast<double>(0.02f);

const velko::Layout& measurement_layout() {
  static const velko::Layout layout("(6X, F9.3, 30X, F7.1, 7X, A1, 9X, A2)");
  return layout;
}

std::string wavelength_text(double wavelength) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", wavelength);
  return buffer;
}

}  // namespace

CopiedPieces copied_pieces(const MeasurementSlot& slot) {
  std::string_view record = slot.measurements[0].record;
  // Records are kept at 80 characters; a shorter one would give shorter
  // pieces rather than a read past its end.
  const auto piece = [record](std::size_t from, std::size_t length) {
    return from < record.size() ? record.substr(from, length) : std::string_view();
  };
  return CopiedPieces{piece(0, 21), piece(21, 6), piece(52, 7)};
}

bool is_measurement_record(std::string_view record) {
  if (record.size() < 6) return false;
  const std::string_view species = record.substr(1, 5);
  return species == "26.00" || species == "26.01";
}

int find_table_line(const IronsiftState& state, double wavelength) {
  for (int i = 0; i < kLineTableSize; ++i) {
    if (std::fabs(state.line_table[static_cast<std::size_t>(i)].wavelength - wavelength) <
        kMatchTolerance) {
      return i;
    }
  }
  return -1;
}

void load_measurements(const IronsiftState& state, const std::string& file_name,
                       MeasurementTable& table) {
  const bool existed = velko::file_exists(file_name);
  velko::RecordReader reader = velko::RecordReader::open_file(file_name, texts::kUnitWidths);
  // The file is created empty, as the suite's programs expect; a mistyped star
  // name would otherwise pass as a star without measurements.
  if (!existed) warn(file_name + std::string(texts::kWidthsCreatedEnd));
  for (MeasurementSlot& slot : table) slot = MeasurementSlot{};
  std::string text(kRecordTextLength, ' ');
  long read = 0;
  for (; read < kRecordLimit; ++read) {
    if (reader.read_text(text, kRecordTextLength, velko::Handled::EndOfFile) ==
        velko::Outcome::EndOfFile) {
      break;
    }
    if (!is_measurement_record(text)) continue;
    double wavelength = 0.0;
    float width = 0.0f;
    std::string code_first(1, ' ');
    std::string code_rest(2, ' ');
    velko::decode_formatted_or_stop(text, measurement_layout(),
                             {&wavelength, &width, &code_first, &code_rest},
                             velko::RecordOrigin{reader.name(), reader.unit(), reader.record_number()});
    const int index = find_table_line(state, wavelength);
    if (index < 0) continue;
    MeasurementSlot& slot = table[static_cast<std::size_t>(index)];
    if (slot.count == kMeasurementsPerLine) {
      // A line holds ten measurements (the written records have room for no
      // more); the run goes on with those, and the user is told which record
      // was left out.
      warn(file_name + " record " + std::to_string(reader.record_number()) + ": line " +
           std::to_string(state.line_table[static_cast<std::size_t>(index)].line_number) +
           " (" + wavelength_text(wavelength) + " A) already has " +
           std::to_string(kMeasurementsPerLine) + " measurements; this one is ignored");
      continue;
    }
    Measurement& measurement = slot.measurements[static_cast<std::size_t>(slot.count)];
    measurement.width = width;
    measurement.code = code_first + code_rest;
    measurement.record = text;
    ++slot.count;
  }
  if (read == kRecordLimit &&
      reader.read_text(text, kRecordTextLength, velko::Handled::EndOfFile) ==
          velko::Outcome::Done) {
    warn(file_name + ": only the first " + std::to_string(kRecordLimit) +
         " records are read; the rest are ignored");
  }
  reader.close();
}

void compute_means(MeasurementTable& table) {
  for (MeasurementSlot& slot : table) {
    float sum = 0.0f;
    int positive = 0;
    for (int i = 0; i < slot.count; ++i) {
      const float width = slot.measurements[static_cast<std::size_t>(i)].width;
      if (width > 0.0f) {
        sum += width;
        ++positive;
      }
    }
    slot.has_positive_width = positive > 0;
    slot.mean = positive > 0 ? sum / static_cast<float>(positive) : 0.0f;
  }
}

}  // namespace ironsift
