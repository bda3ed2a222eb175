#include "line_list_update.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "abundance_records.h"
#include "console.h"
#include "file_lock.h"
#include "file_naming.h"
#include "program_end.h"
#include "lablen.h"
#include "layout.h"
#include "record_writer.h"
#include "texts.h"
#include "values.h"

namespace ironsift {
namespace {

[[noreturn]] void abort_update() {
  velko::console::write_list({texts::kAborted});
  velko::stop_program(velko::kExitNormal);
}

[[noreturn]] void finish_update() {
  velko::console::write_list({texts::kUpdateFinished});
  velko::stop_program(velko::kExitNormal);
}

// One record O1 (accepted: the mean, a blank tag) or D1 (rejected: minus the
// mean, the verdict's tag), with every measurement.
void write_measured_line(velko::RecordWriter& writer, const LineTableEntry& entry,
                         const MeasurementSlot& slot, Verdict verdict) {
  static const velko::Layout layout(texts::kMeasuredLineLayout);
  const bool accepted = verdict == Verdict::Accepted;
  const CopiedPieces pieces = copied_pieces(slot);
  std::vector<velko::OutValue> values = {
      entry.line_number,
      accepted ? slot.mean : -std::fabs(slot.mean),
      pieces.start,
      pieces.middle,
      pieces.tail,
      tag_of(verdict),
      std::int32_t{slot.count},
  };
  for (int i = 0; i < slot.count; ++i) {
    const Measurement& measurement = slot.measurements[static_cast<std::size_t>(i)];
    values.emplace_back(measurement.width);
    values.emplace_back(std::string_view(measurement.code));
  }
  writer.write_formatted(layout, values);
}

// One record O2 (in use: the width) or D2 (rejected: minus the width) per Fe
// line, Fe I first.
void write_fe_lines(velko::RecordWriter& observed, velko::RecordWriter& deleted,
                    const FeTables& tables) {
  static const velko::Layout layout(texts::kAbundanceLineLayout);
  for (const ConstFeTableView& table : tables.views()) {
    for (const FeLine& line : table.lines) {
      const std::string columns = copied_columns(line.record);
      if (line.use_flag > 0) {
        observed.write_formatted(layout, {line.line_number, std::fabs(line.width), columns});
      } else {
        deleted.write_formatted(layout, {line.line_number, -std::fabs(line.width), columns});
      }
    }
  }
}

// Puts both files in place together, once both are written out in full: a
// failure to write or to put either in place (a full disk, a file that cannot
// be replaced) ends the run with both old files as they were.
void commit_update(velko::RecordWriter& observed, velko::RecordWriter& deleted) {
  velko::commit_together({&deleted, &observed});
}

// Locks held for the update of one star's files, so that runs updating the
// same files at the same time take turns: the second reads the deletion log
// only after the first has put its own in place, and both runs' rejected lines
// end in it. The lock is on the directories that hold the files (followed
// through links, so that a log shared by links is locked where it lies):
// unlike the files, which are replaced, a directory stays the same while
// other runs wait for it. Locks are taken in one order, so that two runs
// never wait for each other.
class UpdateLocks {
 public:
  explicit UpdateLocks(std::initializer_list<std::string> file_names) {
    std::vector<std::pair<std::pair<dev_t, ino_t>, std::string>> directories;
    for (const std::string& name : file_names) {
      const std::string dir = velko::directory_of(velko::resolved_target(name));
      struct stat info {};
      if (::stat(dir.c_str(), &info) == 0) directories.push_back({{info.st_dev, info.st_ino}, dir});
    }
    std::sort(directories.begin(), directories.end());
    directories.erase(std::unique(directories.begin(), directories.end(),
                                  [](const auto& a, const auto& b) { return a.first == b.first; }),
                      directories.end());
    for (const auto& [id, dir] : directories) {
      // A directory that cannot be locked (not readable) is updated unlocked;
      // the writers report any real failure to use it.
      locks_.push_back(velko::FileLock::lock_path(dir, false, [](const std::string& path) {
        std::fflush(stdout);
        std::fprintf(stderr, "ironsift: waiting for another run to finish its update in %s\n",
                     path == "." ? "the current directory" : path.c_str());
        std::fflush(stderr);
      }));
    }
  }

 private:
  std::vector<velko::FileLock> locks_;
};

}  // namespace

std::string threshold_list_name(const IronsiftState& state) {
  std::string name = state.star.trimmed();
  if (state.reference_abundances.record_count > 0) {
    name += texts::kListNameJoin;
    name += state.reference.trimmed();
  }
  return name;
}

char ask_update_key(std::string_view list_name, std::string_view prompt_layout) {
  const std::string question = std::string(texts::kUpdateQuestionStart) + std::string(list_name) +
                               std::string(texts::kUpdateQuestionEnd);
  velko::console::write_list({question});
  const velko::Layout prompt(prompt_layout);
  for (;;) {
    velko::console::write_formatted(prompt, {});
    const char key = velko::console::read_key();  // at end of input: stops, nothing written
    if (key == 'x' || key == 'g' || key == 'r') return key;
  }
}

void write_threshold_update(const IronsiftState& state, const MeasurementTable& table,
                            const ScreeningResult& result) {
  const std::string observed_name = threshold_list_name(state) + std::string(texts::kObservedExtension);
  const std::string deleted_name = state.star.trimmed() + std::string(texts::kDeletedExtension);
  const UpdateLocks locks({observed_name, deleted_name});
  velko::RecordWriter observed(observed_name, texts::kUnitObserved, velko::RecordWriter::Mode::Replace);
  velko::RecordWriter deleted(deleted_name, texts::kUnitDeleted, velko::RecordWriter::Mode::Replace);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Verdict verdict = result.verdicts[i];
    if (verdict == Verdict::NotMeasured) continue;
    write_measured_line(verdict == Verdict::Accepted ? observed : deleted, state.line_table[i],
                        table[i], verdict);
  }
  commit_update(observed, deleted);
}

void write_interactive_update(const IronsiftState& state) {
  const std::string observed_name = state.star.trimmed() + std::string(texts::kObservedExtension);
  const std::string deleted_name = state.star.trimmed() + std::string(texts::kDeletedExtension);
  const UpdateLocks locks({observed_name, deleted_name});
  velko::RecordWriter observed(observed_name, texts::kUnitObserved, velko::RecordWriter::Mode::Replace);
  velko::RecordWriter deleted(deleted_name, texts::kUnitDeleted, velko::RecordWriter::Mode::Append);
  write_fe_lines(observed, deleted, state.fe);
  commit_update(observed, deleted);
}

void threshold_update_question(const IronsiftState& state, const MeasurementTable& table,
                               const ScreeningResult& result) {
  switch (ask_update_key(threshold_list_name(state), texts::kKeyPromptThresholdLayout)) {
    case 'x': abort_update();
    case 'g':
      write_threshold_update(state, table, result);
      finish_update();
    default: return;  // 'r': the caller asks for another threshold
  }
}

void interactive_update_question(ironsift::IronsiftState& state) {
  switch (ask_update_key(state.star.trimmed(), texts::kKeyPromptInteractiveLayout)) {
    case 'x': abort_update();
    case 'g':
      write_interactive_update(state);
      finish_update();
    default:
      velko::console::write_list({texts::kTryAgainInWindow});
      return;
  }
}

}  // namespace ironsift
