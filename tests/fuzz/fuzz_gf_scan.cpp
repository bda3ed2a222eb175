// Fuzzes the line set's fast pass against the exact decode: one gf file is
// gone over both ways (GfScanWay::Fast and GfScanWay::Exact) and both must
// look at the same records, keep the same lines.tmp records and stop at the
// same malformed record with the same text.
//
// The first input byte chooses the file and the selection. With its low bit
// clear the rest of the input is the file itself. With it set, the file is
// made of real gf records, repeated, and the rest of the input is a list of
// edits (record, column, character), so that most records stay close to the
// form the fast pass is sure of and the edits probe its edges.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_program.h"
#include "gf_record_scan.h"
#include "line_set.h"
#include "record_reader.h"

namespace {

// Real records of the gf list (tests/wavepick/fixtures).
const char* const kRealRecords[] = {
    "   504.4211 -2.017 26.00   42815.855  5.0 4s6D5s e7D   22996.674  4.0 5Dsp3P z7F"
    "  8.18 -5.41 -7.58FW   0 0  0 0.000  0 0.000                     1585 1493     0",
    "   500.0003 -6.421 29.00   77905.500  2.5 s(3D)5d 4D   57911.090  3.5 5f 2F     "
    "  7.86 -3.96 -7.13K12  0 0  0 0.000  0 0.000    0    0      0    1242 1143     0 0.000",
    "   500.0211 -1.46  26.00   57403.134  2.0 4s6D5d 5P    37409.555  1.0 5Dsp1P y5P"
    "  8.30 -4.28 -7.31RDLB 0 0  0 0.000  0 0.000                     1559 2502     0",
    "   500.0061 -3.692 10.01  307894.820  2.5 (3P)5p 4D   327889.000  1.5 (1D)4d 2P "
    "  9.60 -3.36 -6.95K15  0 0  0 0.000  0 0.000                     1133 1333     0 0.000",
};
constexpr std::size_t kCopies = 6;  // of the real records, in the edited file

struct WayResult {
  wavepick::GfFileResult result;
  std::vector<std::string> kept;
};

WayResult run_way(const wavepick::LineWanted& wanted, wavepick::GfScanWay way) {
  velko::RecordReader gf = velko::RecordReader::open_file("GF.10", 11, false);
  WayResult run;
  run.result = wavepick::select_gf_lines(
      gf, wanted, way, [&](std::string_view record) { run.kept.emplace_back(record); });
  return run;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::set_up_program_run(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const fuzz::InScratch in_scratch;
  const std::uint8_t choice = data[0];
  ++data;
  --size;
  if ((choice & 1) == 0) {
    fuzz::write_input_file("GF.10", data, size);
  } else {
    std::vector<std::string> records;
    for (std::size_t copy = 0; copy < kCopies; ++copy) {
      for (const char* record : kRealRecords) records.emplace_back(record);
    }
    for (std::size_t i = 0; i + 2 < size; i += 3) {
      std::string& record = records[data[i] % records.size()];
      const std::size_t column = data[i + 1];
      if (column >= record.size()) {
        record.resize(column + 1, ' ');
      }
      record[column] = static_cast<char>(data[i + 2]);
    }
    std::string file;
    for (const std::string& record : records) file += record + ((choice & 2) ? "\r\n" : "\n");
    fuzz::write_input_file("GF.10", reinterpret_cast<const std::uint8_t*>(file.data()),
                           file.size());
  }
  const double codes[] = {26.00, 99.99, 29.00, 10.01};
  const wavepick::LineWanted wanted{(choice & 4) ? 504.0 : 0.0, (choice & 4) ? 505.0 : 1e30,
                                    codes[(choice >> 3) & 3]};
  // Both kernels of the fast pass take the same records.
  {
    std::FILE* in = std::fopen("GF.10", "rb");
    std::string content;
    char chunk[4096];
    for (std::size_t n; in != nullptr && (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) {
      content.append(chunk, n);
    }
    if (in != nullptr) std::fclose(in);
    wavepick::GfSpeciesFilter chosen_filter(wanted.cod), vector16_filter(wanted.cod);
    std::string_view bytes = content;
    while (!bytes.empty()) {
      const auto chosen =
          wavepick::scan_gf_records(bytes, 1'000'000, chosen_filter, wavepick::GfScanKernel::Chosen);
      const auto vector16 = wavepick::scan_gf_records(bytes, 1'000'000, vector16_filter,
                                                      wavepick::GfScanKernel::Vector16);
      if (chosen.bytes != vector16.bytes || chosen.records != vector16.records ||
          chosen.stop != vector16.stop) {
        __builtin_trap();
      }
      bytes.remove_prefix(chosen.bytes);
      const std::size_t line_end = bytes.find('\n');
      bytes.remove_prefix(line_end == std::string_view::npos ? bytes.size() : line_end + 1);
    }
  }
  const WayResult fast = run_way(wanted, wavepick::GfScanWay::Fast);
  const WayResult exact = run_way(wanted, wavepick::GfScanWay::Exact);
  if (fast.result.records != exact.result.records ||
      fast.result.malformed_record != exact.result.malformed_record ||
      fast.result.malformed_text != exact.result.malformed_text || fast.kept != exact.kept) {
    __builtin_trap();
  }
  return 0;
}
