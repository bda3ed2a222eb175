// The equivalent-width run (RUNWIDTH): hands "lines.tmp" and the model file to
// the suite's program "width", reads its "ewtemp.csv", writes the lines whose
// equivalent width reaches ewmin to fnoutput, and shows a count summary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lablen.h"
#include "record_reader.h"
#include "record_writer.h"
#include "run_parameters.h"

namespace wavepick {

inline constexpr std::size_t kMaxLines = 9999;
inline constexpr std::size_t kMaxModelRecords = 300;
using velko::kRecordTextLength;  // lines.tmp and model records as stored
inline constexpr long kMaxResultRecords = 99'999;

// One record of "ewtemp.csv": value 1 an integer, values 2 to 13 reals
// (values[0] is value 2).
struct WidthResult {
  std::int32_t index = 0;
  double values[12] = {};
  double equivalent_width() const { return values[10]; }  // value 12
};

// The 100-character result record of a selected line.
std::string result_record(const WidthResult& result, const std::string& fnmodel);

// The records of "winput.in" for the stored lines and model records.
std::vector<std::string> width_input_records(const RunParameters& parameters,
                                             const std::vector<std::string>& lines,
                                             const std::vector<std::string>& model);

// The candidate lines of "lines.tmp" as 80-character texts, at most 9999 of
// them ("Too many lines --> truncated at 9999th" when the limit is reached).
std::vector<std::string> read_line_table();

// The model records as 80-character texts. A missing model file reads as
// empty; more than 300 records stop the program with a message.
std::vector<std::string> read_model_table(const std::string& fnmodel);

// Reads the result records of "width" (13 free-format values each, at most
// 99,999 records) and writes those whose equivalent width reaches ewmin to
// output. Returns how many were written; records_read, when given, receives
// how many result records were read.
std::int32_t select_results(velko::RecordReader& results, velko::RecordWriter& output,
                            const RunParameters& parameters, long* records_read = nullptr);

// The stage. A "width" that cannot be started, does not exit with status 0 or
// leaves no "ewtemp.csv" is told on standard error, fnoutput is left as it
// was, and the program stops after the console summary with status 1.
void RUNWIDTH(const RunParameters& parameters);

}  // namespace wavepick
