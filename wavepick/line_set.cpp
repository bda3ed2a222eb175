#include "line_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "console.h"
#include "directory_keys.h"
#include "field_decode.h"
#include "formatted_io.h"
#include "gf_record_scan.h"
#include "outcome.h"
#include "program_end.h"
#include "report.h"
#include "lablen.h"
#include "layout.h"
#include "record_reader.h"
#include "record_writer.h"
#include "texts.h"

namespace wavepick {
namespace {

// The upper bound of the last file, above any wavelength.
constexpr double kLastFileBound = 1.0e99;

std::array<GfFile, kGfFileCount> build_gf_file_table() {
  std::array<GfFile, kGfFileCount> table;
  char name[16];
  for (int k = 1; k <= kGfFileCount - 1; ++k) {
    // 10 nm slices up to 1000 nm, then 100 nm slices up to 9900 nm.
    const int bound = k <= 100 ? 10 * k : 1000 + 100 * (k - 100);
    std::snprintf(name, sizeof name, "GF%04d.10", bound);
    table[static_cast<std::size_t>(k - 1)].name = name;
  }
  table[kGfFileCount - 1].name = "GFEND.10 ";
  // The bounds are the numbers written in the names.
  const velko::Layout bound_layout(texts::kGfBoundLayout);
  for (int k = 0; k < kGfFileCount - 1; ++k) {
    GfFile& file = table[static_cast<std::size_t>(k)];
    velko::read_formatted_text(file.name, bound_layout, {&file.upper_bound_nm},
                               velko::Handled::Nothing);
  }
  table[kGfFileCount - 1].upper_bound_nm = kLastFileBound;
  return table;
}

double lower_bound_of(int index) {
  return index == 0 ? 0.0 : gf_file_table()[static_cast<std::size_t>(index - 1)].upper_bound_nm;
}

double upper_bound_of(int index) {
  return gf_file_table()[static_cast<std::size_t>(index)].upper_bound_nm;
}

bool slice_holds(int index, double lambda_nm) {
  return lower_bound_of(index) <= lambda_nm && lambda_nm <= upper_bound_of(index);
}

}  // namespace

const std::array<GfFile, kGfFileCount>& gf_file_table() {
  static const std::array<GfFile, kGfFileCount> table = build_gf_file_table();
  return table;
}

int first_gf_file(double lambda1_nm) {
  for (int k = 0; k < kGfFileCount; ++k) {
    if (slice_holds(k, lambda1_nm)) return k;
  }
  return -1;
}

int last_gf_file(double lambda2_nm) {
  for (int k = kGfFileCount - 1; k >= 0; --k) {
    if (slice_holds(k, lambda2_nm)) return k;
  }
  return -1;
}

GfRecordKind decode_gf_record(std::string_view record, GfLine& line, GfDecode what,
                              double cod) {
  if (record.size() > kGfRecordLength) record = record.substr(0, kGfRecordLength);
  const std::size_t first = record.find_first_not_of(' ');
  if (first == std::string_view::npos || IFNUM(record.substr(first)) == 0) {
    return GfRecordKind::Comment;
  }
  // A short record reads as if padded with blanks.
  char padded[kGfLineFieldsEnd];
  if (record.size() < kGfLineFieldsEnd) {
    std::fill(std::begin(padded), std::end(padded), ' ');
    std::copy(record.begin(), record.end(), padded);
    record = std::string_view(padded, kGfLineFieldsEnd);
  }
  auto convert = [&](const GfColumn& column, double& value) {
    return velko::decode_real(record.substr(column.start, column.width), column.decimals, value);
  };
  auto check = [&](const GfColumn& column) {
    return velko::real_field_valid(record.substr(column.start, column.width), column.decimals);
  };
  auto field = [&](const GfColumn& column, double& value) {
    return what == GfDecode::All ? convert(column, value) : check(column);
  };
  GfLine decoded;
  // With SelectionFields the wavelength is converted only for a line of the
  // wanted species; otherwise it is only checked, like the other fields.
  bool ok = convert(kSpecies, decoded.species);
  if (ok) {
    ok = (what == GfDecode::All || species_wanted(decoded.species, cod))
             ? convert(kWavelength, decoded.wavelength_nm)
             : check(kWavelength);
  }
  ok = ok && field(kLogGf, decoded.log_gf) && field(kEnergy1, decoded.energy1) &&
       field(kJ1, decoded.j1) && field(kEnergy2, decoded.energy2) && field(kJ2, decoded.j2) &&
       field(kGammaRadiative, decoded.gamma_radiative) &&
       field(kGammaStark, decoded.gamma_stark) &&
       field(kGammaVanDerWaals, decoded.gamma_van_der_waals);
  if (!ok) return GfRecordKind::Malformed;
  line = decoded;
  return GfRecordKind::Line;
}

bool line_selected(const GfLine& line, double lambda1_nm, double lambda2_nm, double cod) {
  return lambda1_nm <= line.wavelength_nm && line.wavelength_nm <= lambda2_nm &&
         species_wanted(line.species, cod);
}

std::string line_record(const GfLine& line) {
  std::string record;
  write_line_record(line, record);
  return record;
}

void write_line_record(const GfLine& line, std::string& record) {
  static const velko::Layout layout(texts::kLineRecord);
  static const velko::Layout low_gf_layout(texts::kLineRecordLowGf);
  const double excitation_ev = std::min(line.energy1, line.energy2) * kEvPerWavenumber;
  const velko::OutValue values[] = {
      line.species,         line.wavelength_nm * 10.0, excitation_ev,
      line.log_gf,          line.gamma_radiative,      line.gamma_stark,
      line.gamma_van_der_waals,
      0.0f,  // the place of the equivalent width
  };
  velko::format_record(record, line.log_gf > -10.0 ? layout : low_gf_layout, values);
}

GfFileResult select_gf_lines(velko::RecordReader& gf, const LineWanted& wanted, GfScanWay way,
                             const std::function<void(std::string_view)>& keep) {
  GfFileResult result;
  GfSpeciesFilter filter(wanted.cod);
  std::string_view record;
  GfLine line;
  std::string kept;
  while (result.records < kMaxRecordsPerGfFile) {
    if (way == GfScanWay::Fast) {
      // The records that the fast pass is sure of are passed over in bulk;
      // it stops at the first one to be decoded here.
      const GfScan scan =
          scan_gf_records(gf.bytes_at_hand(), kMaxRecordsPerGfFile - result.records, filter);
      gf.take_records(scan.bytes, scan.records);
      result.records += scan.records;
      if (scan.stop == GfScanStop::Budget) break;
      if (scan.stop == GfScanStop::NeedBytes && gf.more_bytes()) continue;
    }
    // A file that cannot be read further ends there; the next file follows.
    if (gf.read_record(record, velko::Handled::Errors) != velko::Outcome::Done) break;
    ++result.records;
    // Every line record is checked in full; the fields that only a kept
    // line needs are converted once the line is known to be kept.
    const GfRecordKind kind = decode_gf_record(record, line, GfDecode::SelectionFields, wanted.cod);
    if (kind == GfRecordKind::Comment) continue;
    if (kind == GfRecordKind::Malformed) {
      result.malformed_record = gf.record_number();
      result.malformed_text = std::string(record);
      break;
    }
    if (line_selected(line, wanted.lambda1_nm, wanted.lambda2_nm, wanted.cod)) {
      decode_gf_record(record, line, GfDecode::All);
      write_line_record(line, kept);
      keep(kept);
    }
  }
  return result;
}

void LINESET(const RunParameters& parameters) {
  const std::string directory(velko::trimmed(RETENV("KGF_DIR")));
  const auto& files = gf_file_table();
  velko::RecordWriter lines(texts::kLinesFile, texts::kUnitLinesFile);

  const double lambda1 = parameters.w1 / 10.0;
  const double lambda2 = parameters.w2 / 10.0;
  const int first = first_gf_file(lambda1);
  if (first < 0) {
    velko::console::write_list({texts::kRangeStartFailure, parameters.w1});
    velko::stop_program(velko::kExitStopFailure);
  }
  const int last = last_gf_file(lambda2);
  if (last < 0) {
    velko::console::write_list({texts::kRangeEndFailure, parameters.w2});
    velko::stop_program(velko::kExitStopFailure);
  }

  // A missing gf file holds no lines and is not created: the line list may sit
  // in a directory the user cannot write. A missing directory, though, is a
  // wrong VELKO, and ends the run with the open-failure report.
  if (first <= last && !velko::file_exists(directory.empty() ? "/" : directory)) {
    const std::string path = directory + "/" + std::string(velko::trimmed(files[first].name));
    velko::io_fatal(velko::IoError::OpenFailure, texts::kUnitGfFile, path);
  }

  const LineWanted wanted{lambda1, lambda2, parameters.cod};
  for (int k = first; k <= last; ++k) {
    const std::string path =
        directory + "/" + std::string(velko::trimmed(files[static_cast<std::size_t>(k)].name));
    velko::RecordReader gf = velko::RecordReader::open_file(path, texts::kUnitGfFile, false);
    const GfFileResult result = select_gf_lines(
        gf, wanted, GfScanWay::Fast, [&](std::string_view record) { lines.write_record(record); });
    if (result.malformed_record != 0) {
      velko::io_fatal(velko::IoError::Conversion, texts::kUnitGfFile, path,
                      {result.malformed_record, result.malformed_text, false});
    }
    gf.close();
  }
  lines.close();
}

}  // namespace wavepick
