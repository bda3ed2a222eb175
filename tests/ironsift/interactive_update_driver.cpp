// Test driver for the interactive path of the line-list update.
//
//   interactive_update_driver STAR REJECTED
//
// Fills the Fe I and Fe II tables from STAR.abd (species 26.00 and 26.01, in
// file order), marks the line numbers in the comma-separated list REJECTED as
// rejected and the others in use, and puts the update question; after each
// "r" it writes "(plot)" where the plot would be shown again.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "abundance_records.h"
#include "console.h"
#include "program_end.h"
#include "ironsift_state.h"
#include "line_list_update.h"
#include "record_reader.h"
#include "startup.h"

namespace {

template <int Capacity>
void add_line(ironsift::FeLineTable<Capacity>& table, const ironsift::FeLine& line) {
  if (table.count < Capacity) table.lines[static_cast<std::size_t>(table.count++)] = line;
}

}  // namespace

int main(int argc, char** argv) {
  velko::install_termination_handlers();
  if (argc != 3) return 64;
  static ironsift::IronsiftState state;
  ironsift::split_names(argv[1], state);
  std::set<std::int32_t> rejected;
  std::istringstream list(argv[2]);
  for (std::string item; std::getline(list, item, ',');) {
    if (!item.empty()) rejected.insert(std::atoi(item.c_str()));
  }
  velko::RecordReader reader = velko::RecordReader::open_file(state.star.trimmed() + ".abd", 20,
                                                              /*create_if_missing=*/false);
  ironsift::AbundanceRecord record;
  while (ironsift::read_abundance_record(reader, record)) {
    if (record.comment) continue;
    ironsift::FeLine line;
    line.line_number = record.line_number;
    line.width = record.width;
    line.use_flag = rejected.count(record.line_number) ? 0 : 1;
    line.record = record.text;
    if (record.species == 26.00f) add_line(state.fe.fe1, line);
    if (record.species == 26.01f) add_line(state.fe.fe2, line);
  }
  reader.close();
  for (;;) {
    ironsift::interactive_update_question(state);
    velko::console::write_record("(plot)");
  }
}
