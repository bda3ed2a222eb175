#include "fixtures.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "fault_run.h"
#include "ironsift_inputs.h"

namespace faults {

std::string params_text() {
  return test_support::params_text(test_support::evenly_spaced_lines(330, 4000.0, 10.0));
}

std::string wdt_record(int line, double width, const std::string& middle30) {
  char wavelength[32];
  std::snprintf(wavelength, sizeof wavelength, "%9.3f", 4000.0 + 10.0 * line);
  char width_field[32];
  std::snprintf(width_field, sizeof width_field, "%7.1f", width);
  std::string middle = middle30.empty() ? test_support::kWdtMiddle30 : middle30;
  middle.resize(30, ' ');
  return test_support::wdt_record("26.00", wavelength, width_field, "abc", "src0001", middle);
}

std::string wdt_text(int lines, int per_line) {
  std::string text = "measurements of a test star\n";
  for (int i = 0; i < lines; ++i) {
    for (int k = 0; k < per_line; ++k) text += wdt_record(i, 10.0 + i + 0.1 * k);
  }
  return text;
}

std::string abd_record(int line, const std::string& species, double width, double abundance) {
  char record[128];
  std::snprintf(record, sizeof record, "%4d %s %9.3f  3.30 -2.183 %6.1f %6.3f %6.3f\n", line,
                species.c_str(), 4000.0 + 10.0 * (line - 1), width, abundance, abundance);
  return record;
}

std::string gf_text(int n) {
  std::string text = "# test gf file\n";
  char record[160];
  for (int i = 0; i < n; ++i) {
    std::snprintf(record, sizeof record,
                  "%11.4f%7.3f%6.2f%12.3f%5.1f %-10s%12.3f%5.1f %-10s%6.2f%6.2f%6.2f\n",
                  490.01 + 9.98 * i / n, -1.5, 26.00, 10000.0 + i, 2.0, "a5D", 30000.0, 3.0,
                  "z5P", 8.26, -6.01, -7.61);
    text += record;
  }
  return text;
}

std::string model_text() { return "TEFF 5750\nLOGG 4.44\nDEPTH 1 2 3\n"; }

std::string results_text(int n) {
  std::string text;
  char record[200];
  for (int i = 0; i < n; ++i) {
    std::snprintf(record, sizeof record,
                  "%d,26.00,%.3f,1.240,-1.500,8.26,-6.01,-7.61,0.1,1.50,7.50,50.0,0.0\n", i + 1,
                  4900.1 + 0.3 * i);
    text += record;
  }
  return text;
}

std::string install_moving_width(const std::string& dir) {
  const std::string bin = dir + "/bin";
  std::filesystem::create_directories(bin);
  write_file(bin + "/width", "#!/bin/sh\nexec mv ready.csv ewtemp.csv\n");
  ::chmod((bin + "/width").c_str(), 0755);
  return bin;
}

}  // namespace faults
