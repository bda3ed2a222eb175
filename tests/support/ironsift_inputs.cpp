#include "ironsift_inputs.h"

#include <cstdio>
#include <stdexcept>

namespace test_support {

std::vector<TableLine> evenly_spaced_lines(int n, double first, double step) {
  std::vector<TableLine> lines;
  for (int i = 0; i < n; ++i) lines.push_back({i + 1, first + step * i});
  return lines;
}

std::string params_text(const std::vector<TableLine>& lines, int count, int records_written) {
  std::string text = " 5777.0\n 4.44\n 0.00\n 1.00\n " + std::to_string(count) + "\n";
  char record[64];
  for (int i = 0; i < records_written; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    const TableLine line = index < lines.size()
                               ? lines[index]
                               : TableLine{9001 + i, 9000.5 + static_cast<double>(i)};
    std::snprintf(record, sizeof record, "%4d 26.00 %9.3f\n", line.line_number, line.wavelength);
    text += record;
  }
  return text;
}

std::string wdt_record(const std::string& species, const std::string& wavelength9,
                       const std::string& width7, const std::string& code3,
                       const std::string& tail7, const std::string& middle30) {
  if (species.size() != 5 || wavelength9.size() != 9 || middle30.size() != 30 ||
      width7.size() != 7 || tail7.size() != 7 || code3.size() != 3) {
    throw std::invalid_argument("wdt_record: a piece of the wrong width");
  }
  std::string record = " " + species + wavelength9;  // columns 1-15
  record += middle30;                                 // columns 16-45
  record += width7;                                   // columns 46-52
  record += tail7;                                    // columns 53-59
  record += code3.substr(0, 1);                       // column 60
  record += "  note   ";                              // columns 61-69
  record += code3.substr(1, 2);                       // columns 70-71
  record += " end.....";                              // columns 72-80
  return record + "\n";
}

}  // namespace test_support
