#include "width_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "console.h"
#include "diagnostics.h"
#include "empty_line_set.h"
#include "formatted_io.h"
#include "outcome.h"
#include "program_end.h"
#include "lablen.h"
#include "layout.h"
#include "process_env.h"
#include "record_reader.h"
#include "record_writer.h"
#include "suite_program.h"
#include "texts.h"

namespace wavepick {
namespace {

void append_records(std::vector<std::string>& out, std::string_view notation,
                    std::initializer_list<velko::OutValue> values) {
  const velko::Layout layout(notation);
  for (std::string& r : velko::format_records(
           layout, std::span<const velko::OutValue>(values.begin(), values.size()))) {
    out.push_back(std::move(r));
  }
}

void write_file(std::string_view name, int unit, const std::vector<std::string>& records) {
  velko::RecordWriter writer(name, unit);
  for (const std::string& r : records) writer.write_record(r);
  writer.close();
}

// A result file from an earlier run must never be read as this run's.
void remove_stale_results() {
  const std::string name(texts::kWidthResultFile);
  if (std::remove(name.c_str()) != 0 && errno != ENOENT) {
    fail("cannot remove the old " + name + " before running \"width\": " +
         std::strerror(errno));
  }
}

// Runs "width" and tells what went wrong when it could not start, did not
// exit with status 0, or left no result file. True when it ran well.
bool run_width() {
  const std::string command(texts::kWidthCommand);
  if (!run_suite_program(command, {}, command)) return false;
  if (!velko::file_exists(texts::kWidthResultFile)) {
    tell("\"" + command + "\" wrote no " + std::string(texts::kWidthResultFile));
    return false;
  }
  return true;
}

void write_summary(std::int32_t n_total, std::int32_t nselect) {
  velko::console::write_formatted(velko::Layout(texts::kSummaryTotal), {n_total});
  velko::console::write_formatted(velko::Layout(texts::kSummarySelected), {nselect});
  velko::console::write_formatted(velko::Layout(texts::kSummaryDiscarded), {n_total - nselect});
}

}  // namespace

// The candidate lines of "lines.tmp", each as an 80-character text, at most
// 9999 of them.
std::vector<std::string> read_line_table() {
  std::vector<std::string> lines;
  velko::RecordReader reader =
      velko::RecordReader::open_file(texts::kLinesFile, texts::kUnitLinesFile);
  std::string text;
  for (;;) {
    if (lines.size() == kMaxLines) {
      velko::console::write_list({texts::kTooManyLines});
      break;
    }
    if (reader.read_text(text, kRecordTextLength, velko::Handled::EndOfFile) !=
        velko::Outcome::Done) {
      break;
    }
    lines.push_back(text);
  }
  reader.close();
  return lines;
}

// The model records, each as an 80-character text. A missing model file reads
// as empty and is not created: an empty file of that name would later be taken
// for a finished model and never be made. A model of more than 300 records
// cannot be handed over whole, and a cut model would give wrong widths: stop.
std::vector<std::string> read_model_table(const std::string& fnmodel) {
  std::vector<std::string> model;
  const std::string name(velko::trimmed(fnmodel));
  velko::RecordReader reader =
      velko::RecordReader::open_file(name, texts::kUnitModelFile, false);
  std::string text;
  while (reader.read_text(text, kRecordTextLength, velko::Handled::EndOfFile) ==
         velko::Outcome::Done) {
    if (model.size() == kMaxModelRecords) {
      fail("model file " + name + " has more than " + std::to_string(kMaxModelRecords) +
           " records; \"width\" takes at most " + std::to_string(kMaxModelRecords));
    }
    model.push_back(text);
  }
  reader.close();
  return model;
}

std::string result_record(const WidthResult& result, const std::string& fnmodel) {
  static const velko::Layout layout(texts::kResultRecord);
  static const velko::Layout low_gf_layout(texts::kResultRecordLowGf);
  const double* v = result.values;  // v[k - 2] is value k
  const velko::OutValue values[] = {
      v[0], v[1], v[2], v[3], v[4], v[5], v[6],  // values 2 to 8
      v[10],                                     // value 12, the equivalent width
      v[8],                                      // value 10, the microturbulence
      v[9],                                      // value 11, the abundance
      std::string_view(fnmodel),
  };
  return velko::format_records(v[3] > -10.0 ? layout : low_gf_layout, values).front();
}

std::vector<std::string> width_input_records(const RunParameters& parameters,
                                             const std::vector<std::string>& lines,
                                             const std::vector<std::string>& model) {
  std::vector<std::string> records;
  records.emplace_back(texts::kVturKeyword);
  append_records(records, texts::kVturRecord, {std::int32_t{1}, parameters.xi});
  records.emplace_back(texts::kCurvKeyword);
  append_records(records, texts::kCurvRecord, {std::int32_t{1}, parameters.abund, 0.0f});
  append_records(records, texts::kLineCountRecord, {static_cast<std::int32_t>(lines.size())});
  records.insert(records.end(), lines.begin(), lines.end());
  records.emplace_back(texts::kEndKeyword);
  records.insert(records.end(), model.begin(), model.end());
  records.emplace_back(texts::kEndKeyword);
  records.emplace_back(texts::kStopKeyword);
  return records;
}

std::int32_t select_results(velko::RecordReader& results, velko::RecordWriter& output,
                            const RunParameters& parameters, long* records_read) {
  WidthResult result;
  std::int32_t nselect = 0;
  std::vector<velko::InTarget> targets{&result.index};
  for (double& value : result.values) targets.emplace_back(&value);
  long count = 0;
  for (; count < kMaxResultRecords; ++count) {
    if (results.read_list(targets, velko::Handled::EndOfFile) != velko::Outcome::Done) break;
    if (result.equivalent_width() >= parameters.ewmin) {
      ++nselect;
      output.write_record(result_record(result, parameters.fnmodel));
    }
  }
  if (records_read != nullptr) *records_read = count;
  return nselect;
}

void RUNWIDTH(const RunParameters& parameters) {
  // A blank name (argument 4 or 8 not given) names no file: say so rather
  // than open a file without a name.
  if (velko::trimmed(parameters.fnmodel).empty()) {
    fail("no model file named (argument 4 is blank)");
  }
  if (velko::trimmed(parameters.fnoutput).empty()) {
    fail("no result file named (argument 8 is blank)");
  }

  const std::vector<std::string> lines = read_line_table();
  if (lines.empty()) explain_empty_line_set(parameters);
  const std::vector<std::string> model = read_model_table(parameters.fnmodel);
  write_file(texts::kWidthInputFile, texts::kUnitWidthInput,
             width_input_records(parameters, lines, model));
  write_file(texts::kWidthFileList, texts::kUnitWidthFileList,
             std::vector<std::string>(std::begin(texts::kWidthFileListRecords),
                                      std::end(texts::kWidthFileListRecords)));

  remove_stale_results();
  const auto n_total = static_cast<std::int32_t>(lines.size());
  if (!run_width()) {
    // Whatever "width" left is no result: the selection of an earlier run
    // stays as it was, and the run ends as a failure.
    tell("no line is selected; " + std::string(velko::trimmed(parameters.fnoutput)) +
         " is left as it was");
    write_summary(n_total, 0);
    velko::stop_program(velko::kExitStopFailure);
  }

  // The result file is written even when no line is selected, so that a file
  // left by an earlier run is never taken for this run's selection.
  velko::RecordReader results = velko::RecordReader::open_file(
      texts::kWidthResultFile, texts::kUnitWidthResult, false);
  velko::RecordWriter output(parameters.fnoutput, texts::kUnitResultFile);
  long records_read = 0;
  const std::int32_t nselect = select_results(results, output, parameters, &records_read);
  if (records_read != n_total) {
    tell("warning: " + std::string(texts::kWidthResultFile) + " holds " +
         std::to_string(records_read) + " result records for " + std::to_string(n_total) +
         " lines handed to \"" + std::string(texts::kWidthCommand) + "\"");
  }

  write_summary(n_total, nselect);
  results.close();
  output.close();
}

}  // namespace wavepick
