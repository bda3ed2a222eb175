#include "startup.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "abundance_records.h"
#include "console.h"
#include "outcome.h"
#include "program_end.h"
#include "lablen.h"
#include "process_env.h"
#include "record_reader.h"
#include "texts.h"
#include "warnings.h"

namespace ironsift {
namespace {

// MOD_DIR is read in full: a directory path cut at some fixed length would
// name another directory.
constexpr std::size_t kEnvironmentValueLength = 4096;
constexpr int kParameterRecords = 4;
constexpr int kReferenceRecordLimit = 999;

// The further line of the end-of-file report when the parameter file exists
// nowhere, written by the program's end handler after the report.
std::string g_params_nowhere_line;

void write_params_nowhere_line(int status) {
  if (status != velko::kExitRecordFailure || g_params_nowhere_line.empty()) return;
  note(g_params_nowhere_line);
  // Returning lets the program end as usual.
}

std::string model_dir_value() {
  return std::string(
      velko::trimmed(velko::environment_text(texts::kModelDirVariable, kEnvironmentValueLength)));
}

}  // namespace

std::string locate_parameter_file() {
  if (velko::file_exists(texts::kParamsInCurrentDir)) {
    return std::string(texts::kParamsInCurrentDir);
  }
  return model_dir_value() + "/" + std::string(texts::kParamsFileName);
}

std::string params_nowhere_line() {
  const std::string model_dir = model_dir_value();
  return std::string(texts::kParamsNowhereStart) +
         (model_dir.empty() ? std::string(texts::kModDirNotSet) : "(MOD_DIR=" + model_dir + ")");
}

void load_line_table(const std::string& path, IronsiftState& state) {
  // A missing parameter file is not created: with MOD_DIR unset its path lies
  // in the root directory. It reads as empty, so the first parameter read ends
  // the program with the end-of-file report naming the path.
  velko::RecordReader reader =
      velko::RecordReader::open_file(path, texts::kUnitParams, /*create_if_missing=*/false);
  for (int i = 0; i < kParameterRecords; ++i) {
    double parameter = 0.0;  // the four leading parameters are not used here
    reader.read_list({&parameter}, velko::Handled::Nothing);
  }
  std::int32_t count = 0;
  if (reader.read_list({&count}, velko::Handled::Errors) != velko::Outcome::Done) count = 0;
  // The count is checked before the line records are read: with a wrong count
  // the records that follow mean nothing, and the count message is the one
  // that tells the user what is wrong.
  if (count != kLineTableSize) {
    velko::console::write_list({texts::kBadLineCount, count, std::int32_t{kLineTableSize}});
    velko::stop_program(velko::kExitStopFailure);
  }
  for (LineTableEntry& entry : state.line_table) {
    double unused = 0.0;
    reader.read_list({&entry.line_number, &unused, &entry.wavelength}, velko::Handled::Nothing);
  }
  reader.close();
}

void split_names(std::string_view first_argument, IronsiftState& state) {
  const std::string argument = velko::fixed_text(first_argument, kNameLength);
  const std::size_t slash = argument.find('/');
  const std::string star_part = slash == std::string::npos ? argument : argument.substr(0, slash);
  const std::string reference_part =
      slash == std::string::npos ? std::string() : argument.substr(slash + 1);
  state.star.text = velko::fixed_text(star_part, kNameLength);
  state.reference.text = velko::fixed_text(reference_part, kNameLength);
  velko::LABLEN(state.star.text, kNameLength, state.star.first, state.star.last);
  velko::LABLEN(state.reference.text, kNameLength, state.reference.first, state.reference.last);
  state.reference_abundances.given = slash != std::string::npos;
}

void read_arguments(IronsiftState& state) {
  const std::string first_argument = velko::argument_text(1, kNameLength);
  const std::string second_argument = velko::argument_text(2);
  const char mode = second_argument.front();
  if (mode != 'w' && mode != 'i' && mode != 'c') {
    velko::console::write_list({texts::kBadRunMode});
    velko::stop_program(velko::kExitStopFailure);
  }
  state.run_mode = mode;
  split_names(first_argument, state);
}

void load_reference_abundances(IronsiftState& state) {
  ReferenceAbundances& reference = state.reference_abundances;
  if (!reference.given) return;
  const std::string file_name =
      state.reference.trimmed() + std::string(texts::kAbundanceExtension);
  if (!velko::file_exists(file_name)) {
    velko::console::write_list({std::string(texts::kReferenceMissing) + file_name});
    // The "/" may have been meant as a folder ("data/HD123"): say how the
    // argument was read.
    note(std::string(texts::kSlashNamesStart) + state.star.trimmed() + "/" +
         state.reference.trimmed() + std::string(texts::kSlashNamesMiddle) +
         state.star.trimmed() + std::string(texts::kSlashNamesAnd) + state.reference.trimmed() +
         std::string(texts::kSlashNamesEnd));
    velko::stop_program(velko::kExitStopFailure);
  }
  reference.exists = true;
  std::fill(reference.values.begin(), reference.values.end(), kMissingReference);
  reference.record_count = 0;

  velko::RecordReader reader = velko::RecordReader::open_file(file_name, texts::kUnitReference);
  AbundanceRecord record;
  int records_read = 0;
  while (records_read < kReferenceRecordLimit && read_abundance_record(reader, record)) {
    ++records_read;
    if (record.comment) continue;
    ++reference.record_count;
    if (record.line_number < 1 || record.line_number > kReferenceSize) {
      // The table holds line numbers 1 to 9999 only, and no line of the line
      // table outside that range can be found in it either, so the record is
      // passed over, with a warning rather than silently.
      warn(file_name + " record " + std::to_string(reader.record_number()) + ": line number " +
           std::to_string(record.line_number) + " is outside 1 to 9999; record skipped");
      continue;
    }
    reference.values[static_cast<std::size_t>(record.line_number - 1)] = record.width;
  }
  if (records_read == kReferenceRecordLimit) {
    std::string more(velko::kRecordTextLength, ' ');
    if (reader.read_text(more, velko::kRecordTextLength, velko::Handled::EndOfFile) ==
        velko::Outcome::Done) {
      warn(file_name + ": only the first " + std::to_string(kReferenceRecordLimit) +
           " records are read; the rest are ignored");
    }
  }
  reader.close();
}

void start_up(IronsiftState& state) {
  const std::string params_path = locate_parameter_file();
  // A parameter file found neither here nor in MOD_DIR ends the run with the
  // end-of-file report for its path; a further line says where it was looked
  // for.
  const bool nowhere = !velko::file_exists(params_path);
  if (nowhere) {
    g_params_nowhere_line = params_nowhere_line();
    velko::set_program_end_handler(write_params_nowhere_line);
  }
  load_line_table(params_path, state);
  if (nowhere) velko::set_program_end_handler(nullptr);
  read_arguments(state);
  load_reference_abundances(state);
}

}  // namespace ironsift
