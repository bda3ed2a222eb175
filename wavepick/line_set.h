// Line-set preparation (LINESET): the candidate lines of one species in a
// wavelength range, drawn from the suite's wavelength-sliced gf files under
// the "KGF_DIR" directory into "lines.tmp".
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "gf_record.h"
#include "record_reader.h"
#include "run_parameters.h"

namespace wavepick {

inline constexpr int kGfFileCount = 190;
inline constexpr long kMaxRecordsPerGfFile = 1'000'000;
// Electron-volts per cm^-1 (the single-precision value of 1.23981E-4, widened).
inline constexpr double kEvPerWavenumber = static_cast<double>(1.23981E-4f);

struct GfFile {
  std::string name;           // 9 characters, e.g. "GF0510.10" or "GFEND.10 "
  double upper_bound_nm = 0;  // the lower bound is the previous file's upper bound
};

// The 190 gf files in wavelength order, their bounds read from their names.
const std::array<GfFile, kGfFileCount>& gf_file_table();

// The files (0-based, first and last) whose slices hold the range ends; -1
// when no slice holds that end (a negative wavelength).
int first_gf_file(double lambda1_nm);
int last_gf_file(double lambda2_nm);

// The fields of one line record of a gf file.
struct GfLine {
  double wavelength_nm = 0;
  double log_gf = 0;
  double species = 0;
  double energy1 = 0;  // first level, cm^-1
  double j1 = 0;
  double energy2 = 0;  // second level, cm^-1
  double j2 = 0;
  double gamma_radiative = 0;
  double gamma_stark = 0;
  double gamma_van_der_waals = 0;
};

enum class GfRecordKind { Comment, Line, Malformed };

// What decode_gf_record converts: every field, or only the species code and,
// for a line of the species cod, the wavelength: what decides whether a line
// is kept. The other fields are still checked, and left 0.
enum class GfDecode { All, SelectionFields };

// Classifies and decodes one gf record as it stands in the file (any length):
// a record whose first non-blank character among its first 133 is a digit is
// a line record, decoded in fixed columns; every numeric field is checked.
GfRecordKind decode_gf_record(std::string_view record, GfLine& line,
                              GfDecode what = GfDecode::All, double cod = 0.0);

// The 52-character "lines.tmp" record of a line; the second form reuses the
// storage of record.
std::string line_record(const GfLine& line);
void write_line_record(const GfLine& line, std::string& record);

// True when a line belongs to the line set of the run.
bool line_selected(const GfLine& line, double lambda1_nm, double lambda2_nm, double cod);

// How select_gf_lines goes over the records: Fast takes the records that the
// fast pass (gf_record_scan.h) is sure of without decoding them and decodes
// the others; Exact decodes every record. Both give the same lines and the
// same failure; Exact is the reference the fast pass is tested against.
enum class GfScanWay { Fast, Exact };

// What the line set wants from a gf file: the range in nanometres and the
// species code.
struct LineWanted {
  double lambda1_nm = 0;
  double lambda2_nm = 0;
  double cod = 0;
};

struct GfFileResult {
  long records = 0;           // records looked at
  long malformed_record = 0;  // the number of a line record that cannot be decoded, or 0
  std::string malformed_text; // that record as it stands
};

// Goes over the records of one gf file, at most kMaxRecordsPerGfFile of them,
// and hands the "lines.tmp" record of each kept line to keep. A line record
// that cannot be decoded ends the file there (the caller reports it); a file
// that cannot be read further simply ends.
GfFileResult select_gf_lines(velko::RecordReader& gf, const LineWanted& wanted, GfScanWay way,
                             const std::function<void(std::string_view)>& keep);

// The stage: writes "lines.tmp" in the current directory, or stops the
// program ("!! wla1=" / "!! wla2=", status 1) for a negative range end.
void LINESET(const RunParameters& parameters);

}  // namespace wavepick
