// The line set's pieces: the gf file table, the fixed-column decode of gf
// records, the "lines.tmp" record, and the fast pass over gf records against
// the exact decode.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gf_record_scan.h"
#include "line_set.h"
#include "record_reader.h"

namespace wavepick {
namespace {

TEST(GfFileTable, NamesAndBoundsFollowTheSlices) {
  const auto& table = gf_file_table();
  EXPECT_EQ(table[0].name, "GF0010.10");
  EXPECT_EQ(table[0].upper_bound_nm, 10.0);
  EXPECT_EQ(table[98].name, "GF0990.10");
  EXPECT_EQ(table[99].name, "GF1000.10");
  EXPECT_EQ(table[99].upper_bound_nm, 1000.0);
  EXPECT_EQ(table[100].name, "GF1100.10");
  EXPECT_EQ(table[188].name, "GF9900.10");
  EXPECT_EQ(table[188].upper_bound_nm, 9900.0);
  EXPECT_EQ(table[189].name, "GFEND.10 ");
  EXPECT_EQ(table[189].upper_bound_nm, 1e99);
  for (int k = 1; k < kGfFileCount; ++k) {
    EXPECT_LT(table[k - 1].upper_bound_nm, table[k].upper_bound_nm) << k;
  }
}

TEST(GfFileTable, RangeEndsPickTheirSlices) {
  struct Case {
    double lambda_nm;
    int first;  // 0-based
    int last;
  };
  const Case cases[] = {
      {0.0, 0, 0},          // the first file's lower bound
      {500.0, 49, 50},      // a boundary: the start takes the lower slice, the end the upper
      {500.05, 50, 50},
      {1000.0, 99, 100},
      {9900.0, 188, 189},
      {9900.1, 189, 189},   // above 9900 nm: GFEND.10
      {-0.1, -1, -1},       // below 0: no slice
  };
  for (const Case& c : cases) {
    EXPECT_EQ(first_gf_file(c.lambda_nm), c.first) << c.lambda_nm;
    EXPECT_EQ(last_gf_file(c.lambda_nm), c.last) << c.lambda_nm;
  }
}

// Real records of the gf list (see fixtures/README.md for their source).
constexpr const char* kRealFeI =
    "   504.4211 -2.017 26.00   42815.855  5.0 4s6D5s e7D   22996.674  4.0 5Dsp3P z7F"
    "  8.18 -5.41 -7.58FW   0 0  0 0.000  0 0.000                     1585 1493     0";

TEST(GfRecord, RealFeIRecordDecodes) {
  GfLine line;
  ASSERT_EQ(decode_gf_record(kRealFeI, line), GfRecordKind::Line);
  EXPECT_DOUBLE_EQ(line.wavelength_nm, 504.4211);
  EXPECT_DOUBLE_EQ(line.log_gf, -2.017);
  EXPECT_DOUBLE_EQ(line.species, 26.00);
  EXPECT_DOUBLE_EQ(line.energy1, 42815.855);
  EXPECT_DOUBLE_EQ(line.energy2, 22996.674);  // the lower level is the second
  EXPECT_DOUBLE_EQ(line.gamma_van_der_waals, -7.58);
  EXPECT_EQ(line_record(line), " 26.00 5044.211 2.851-2.017  8.18 -5.41 -7.58    0.0");
}

TEST(GfRecord, CommentsAndLineRecordsAreTold) {
  GfLine line;
  const std::string long_blank(140, ' ');
  struct Case {
    std::string record;
    GfRecordKind kind;
  };
  const Case cases[] = {
      {"", GfRecordKind::Comment},
      {"      ", GfRecordKind::Comment},
      {"   -5.0000 comment led by a minus", GfRecordKind::Comment},
      {"  GF list header", GfRecordKind::Comment},
      {"\t500.0", GfRecordKind::Comment},                       // a tab is content, not a digit
      {long_blank + "500.0000", GfRecordKind::Comment},          // a digit past column 133
      {"   500.0000", GfRecordKind::Line},                       // short: padded, the rest reads 0
      {"   500.0000 -1.000 26.00  x", GfRecordKind::Malformed},  // a letter in a number
      {"   500.00.0 -1.000 26.00", GfRecordKind::Malformed},
      {"   500.0000 -1.000 26.00   10000.000  2.5 label      20000.000  x.5", GfRecordKind::Malformed},
      {"   500.0000 -1.000 26.00   10000.000  2.5 label      20000.000  2.5 label       8.1- 5.00",
       GfRecordKind::Malformed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decode_gf_record(c.record, line), c.kind) << '"' << c.record << '"';
    EXPECT_EQ(decode_gf_record(c.record, line, GfDecode::SelectionFields, 26.0), c.kind)
        << '"' << c.record << '"';
  }
}

TEST(GfRecord, FieldsAreTakenFromFixedColumns) {
  // Every field filled edge to edge, also where it touches its neighbours.
  const std::string record =
      "12345.67890-99.999 99.9912345678.123 45.6 abcdefghij12345678"
      ".123 45.6 abcdefghij -9.99 -9.99 -9.99";
  GfLine line;
  ASSERT_EQ(decode_gf_record(record, line), GfRecordKind::Line);
  EXPECT_DOUBLE_EQ(line.wavelength_nm, 12345.6789);
  EXPECT_DOUBLE_EQ(line.j2, 45.6);
  EXPECT_DOUBLE_EQ(line.log_gf, -99.999);
  EXPECT_DOUBLE_EQ(line.species, 99.99);
  EXPECT_DOUBLE_EQ(line.energy1, 12345678.123);
  EXPECT_DOUBLE_EQ(line.j1, 45.6);
  EXPECT_DOUBLE_EQ(line.energy2, 12345678.123);
  EXPECT_DOUBLE_EQ(line.gamma_radiative, -9.99);
  EXPECT_DOUBLE_EQ(line.gamma_van_der_waals, -9.99);
}

TEST(GfRecord, SelectionDecodeConvertsWavelengthOnlyForTheSpecies) {
  GfLine line;
  ASSERT_EQ(decode_gf_record(kRealFeI, line, GfDecode::SelectionFields, 26.00), GfRecordKind::Line);
  EXPECT_DOUBLE_EQ(line.wavelength_nm, 504.4211);
  EXPECT_EQ(line.log_gf, 0.0);
  ASSERT_EQ(decode_gf_record(kRealFeI, line, GfDecode::SelectionFields, 26.01), GfRecordKind::Line);
  EXPECT_EQ(line.wavelength_nm, 0.0);
}

TEST(LineSelection, SpeciesToleranceAndInclusiveRange) {
  struct Case {
    double species;
    double wavelength_nm;
    bool kept;
  };
  const Case cases[] = {
      {26.00, 500.0, true},   {26.001, 500.0, true},  {25.999, 500.0, true},
      {26.0011, 500.0, false}, {26.01, 500.0, false}, {26.00, 499.9999, false},
      {26.00, 501.0, true},   {26.00, 501.0001, false},
  };
  for (const Case& c : cases) {
    GfLine line;
    line.species = c.species;
    line.wavelength_nm = c.wavelength_nm;
    EXPECT_EQ(line_selected(line, 500.0, 501.0, 26.00), c.kept) << c.species << ' ' << c.wavelength_nm;
  }
}

TEST(LineRecord, EditsOfLogGfAndExcitationPotential) {
  GfLine line;
  line.species = 26.01;
  line.wavelength_nm = 500.0003;
  line.energy1 = 20000.0;
  line.energy2 = 10000.0;  // the second level is the lower one: 1.2398 eV
  line.gamma_radiative = 8.3;
  line.gamma_stark = -4.28;
  line.gamma_van_der_waals = -7.31;
  line.log_gf = -10.0;
  EXPECT_EQ(line_record(line), " 26.01 5000.003 1.240-10.00  8.30 -4.28 -7.31    0.0");
  line.log_gf = -9.999;
  EXPECT_EQ(line_record(line), " 26.01 5000.003 1.240-9.999  8.30 -4.28 -7.31    0.0");
  line.log_gf = 0.5;
  EXPECT_EQ(line_record(line).substr(21, 6), " 0.500");
}

// ---- The fast pass against the exact decode ---------------------------------
//
// select_gf_lines goes over a file either way; Fast passes over the records
// the vector check is sure of, Exact decodes every record. On the same file
// both must look at the same records, keep the same lines.tmp records and
// stop at the same malformed record with the same text.

namespace fs = std::filesystem;

class ScratchDirectory {
 public:
  ScratchDirectory() {
    // Memory-backed when the machine has it: the tests write thousands of files.
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "gf_scan_test.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~ScratchDirectory() { fs::remove_all(path_); }
  // A new file each time: rewriting one file in place makes some file
  // systems write it out at once, which a test of thousands of files feels.
  std::string file(const std::string& name, const std::string& content) {
    const std::string path = (path_ / (std::to_string(++files_) + name)).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
  long files_ = 0;
};

std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

struct WayResult {
  GfFileResult result;
  std::vector<std::string> kept;
};

WayResult run_way(const std::string& path, const LineWanted& wanted, GfScanWay way) {
  velko::RecordReader gf = velko::RecordReader::open_file(path, 11, false);
  WayResult run;
  run.result = select_gf_lines(gf, wanted, way,
                               [&](std::string_view record) { run.kept.emplace_back(record); });
  return run;
}

// Both ways on the file; returns the exact way's result.
WayResult expect_same_ways(const std::string& path, const LineWanted& wanted,
                           const std::string& what) {
  const WayResult fast = run_way(path, wanted, GfScanWay::Fast);
  const WayResult exact = run_way(path, wanted, GfScanWay::Exact);
  EXPECT_EQ(fast.result.records, exact.result.records) << what;
  EXPECT_EQ(fast.result.malformed_record, exact.result.malformed_record) << what;
  EXPECT_EQ(fast.result.malformed_text, exact.result.malformed_text) << what;
  EXPECT_EQ(fast.kept, exact.kept) << what;
  return exact;
}

// Both kernels (the chosen one, 32-byte vectors on this machine when it has
// AVX2, and the 16-byte one) take the same records of bytes, scanned from
// each record the scan stops at.
void expect_same_kernels(std::string_view bytes, double cod, const std::string& what) {
  GfSpeciesFilter chosen_filter(cod), vector16_filter(cod);
  while (!bytes.empty()) {
    const GfScan chosen = scan_gf_records(bytes, 1'000'000, chosen_filter, GfScanKernel::Chosen);
    const GfScan vector16 =
        scan_gf_records(bytes, 1'000'000, vector16_filter, GfScanKernel::Vector16);
    ASSERT_EQ(chosen.bytes, vector16.bytes) << what;
    ASSERT_EQ(chosen.records, vector16.records) << what;
    ASSERT_EQ(chosen.stop, vector16.stop) << what;
    bytes.remove_prefix(chosen.bytes);
    const std::size_t line_end = bytes.find('\n');
    bytes.remove_prefix(line_end == std::string_view::npos ? bytes.size() : line_end + 1);
  }
}

// The selections each file is run with: everything of a species, a species
// that no record has (so that the fast pass may pass over every line), and a
// narrow range.
const LineWanted kSelections[] = {
    {0.0, 1e30, 26.00}, {0.0, 1e30, 99.99}, {504.40, 504.45, 26.01}, {0.0, 1e30, 22.00}};

std::string with_crlf(const std::string& content) {
  std::string out;
  for (char c : content) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string> real_slices() {
  return {std::string(WAVEPICK_FIXTURE_DIR) + "/GF0510.10",
          std::string(WAVEPICK_EXAMPLES_GF_DIR) + "/GF0410.10",
          std::string(WAVEPICK_EXAMPLES_GF_DIR) + "/GF0500.10",
          std::string(WAVEPICK_EXAMPLES_GF_DIR) + "/GF0510.10"};
}

TEST(FastPass, SameLinesAsTheExactDecodeOnRealSlices) {
  ScratchDirectory scratch;
  long kept = 0;
  for (const std::string& slice : real_slices()) {
    const std::string content = read_whole(slice);
    ASSERT_GT(content.size(), 1000u) << slice;
    std::string no_last_line_end = content;
    while (!no_last_line_end.empty() && no_last_line_end.back() == '\n') no_last_line_end.pop_back();
    const std::pair<std::string, std::string> variants[] = {
        {"as is", content}, {"CRLF", with_crlf(content)}, {"no last LF", no_last_line_end}};
    for (const auto& [name, text] : variants) {
      const std::string path = scratch.file("GF.10", text);
      for (const LineWanted& wanted : kSelections) {
        const WayResult exact = expect_same_ways(path, wanted, slice + " " + name);
        EXPECT_EQ(exact.result.malformed_record, 0) << slice;
        kept += static_cast<long>(exact.kept.size());
      }
    }
  }
  EXPECT_GT(kept, 100);  // the comparison saw kept lines
}

TEST(FastPass, IsSureOfTheRecordsOfRealSlices) {
  // The fast pass is what makes the line set fast: it must pass over the
  // real records itself, not leave them to the exact decode.
  for (const std::string& slice : real_slices()) {
    const std::string content = read_whole(slice);
    for (double cod : {99.99, 26.00}) expect_same_kernels(content, cod, slice);
    GfSpeciesFilter filter(99.99);
    long taken = 0, unsure = 0;
    std::string_view rest = content;
    while (!rest.empty()) {
      const GfScan scan = scan_gf_records(rest, 1'000'000, filter);
      taken += scan.records;
      rest.remove_prefix(scan.bytes);
      if (rest.empty()) break;
      const std::size_t line_end = rest.find('\n');
      rest.remove_prefix(line_end == std::string_view::npos ? rest.size() : line_end + 1);
      ++unsure;
    }
    // Only records within the last 128 bytes are left for lack of bytes.
    EXPECT_LE(unsure, 1) << slice << ": " << taken << " taken";
    EXPECT_GT(taken, 50) << slice;
  }
}

TEST(FastPass, StopsAtItsBudgetAndForLackOfBytes) {
  const std::string record = std::string(kRealFeI) + "\n";
  std::string bytes;
  for (int i = 0; i < 10; ++i) bytes += record;
  GfSpeciesFilter filter(99.99);
  GfScan scan = scan_gf_records(bytes, 3, filter);
  EXPECT_EQ(scan.records, 3);
  EXPECT_EQ(scan.bytes, 3 * record.size());
  EXPECT_EQ(scan.stop, GfScanStop::Budget);
  scan = scan_gf_records(std::string_view(bytes).substr(0, 5 * record.size() + 100), 100, filter);
  EXPECT_EQ(scan.records, 5);
  EXPECT_EQ(scan.stop, GfScanStop::NeedBytes);
  GfSpeciesFilter fe_filter(26.00);  // a line of the wanted species is left to the exact decode
  scan = scan_gf_records(bytes, 100, fe_filter);
  EXPECT_EQ(scan.records, 0);
  EXPECT_EQ(scan.stop, GfScanStop::NotSure);
}

// A file of valid real records around one record under test, so that the
// fast pass has the bytes to judge it.
std::string around(const std::string& record) {
  const std::string good = std::string(kRealFeI) + "\n";
  return good + good + good + record + "\n" + good + good + good;
}

TEST(FastPass, EveryColumnReplacedByEveryCharacterClass) {
  ScratchDirectory scratch;
  const std::string base = kRealFeI;
  const char classes[] = {' ', '0', '5', '9', '.', '+', '-', 'E', 'e', 'D', 'd', 'Q', 'x',
                          ',', '/', '*', '\t', '\r', '\0', '\x80', '\xff', '\n'};
  const LineWanted wanted[] = {{0.0, 1e30, 99.99}, {0.0, 1e30, 26.00}};
  for (std::size_t column = 0; column <= base.size(); ++column) {
    for (char c : classes) {
      std::string record = base;
      if (column == base.size()) {
        record += c;
      } else {
        record[column] = c;
      }
      const std::string what = "column " + std::to_string(column) + " char " +
                               std::to_string(static_cast<unsigned char>(c));
      const std::string content = around(record);
      const std::string path = scratch.file("GF.10", content);
      for (const LineWanted& w : wanted) {
        expect_same_ways(path, w, what);
        expect_same_kernels(content, w.cod, what);
      }
    }
  }
}

TEST(FastPass, RandomEditsOfRealRecords) {
  ScratchDirectory scratch;
  const std::string base = kRealFeI;
  const std::string alphabet = " 0123456789.+-EeDdx\t\r";
  std::mt19937 random(13);
  std::uniform_int_distribution<std::size_t> column(0, 99);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> edits(1, 4);
  for (int i = 0; i < 3000; ++i) {
    std::string record = base;
    for (int e = edits(random); e > 0; --e) record[column(random)] = alphabet[pick(random)];
    const std::string content = around(record);
    const std::string path = scratch.file("GF.10", content);
    expect_same_ways(path, {0.0, 1e30, 99.99}, record);
    expect_same_ways(path, {504.0, 505.0, 26.00}, record);
    expect_same_kernels(content, 99.99, record);
  }
}

TEST(FastPass, NumberFormsOfEachField) {
  // Each field replaced by forms the sure check must leave to the exact
  // decode (implied decimals, exponents, blanks inside, a point elsewhere)
  // and forms it may take; the wavelengths include ties at the F9.3 cut of
  // lines.tmp (a fifth decimal of nm) and the species codes the tolerance edges.
  ScratchDirectory scratch;
  struct Form {
    GfColumn column;
    const char* text;
  };
  const Form forms[] = {
      {kWavelength, "   5044211"},  {kWavelength, " 5.044211E2"}, {kWavelength, " 5044211-4"},
      {kWavelength, "  504.42115"}, {kWavelength, " 504.421150"}, {kWavelength, "  504.4 211"},
      {kWavelength, "-  504.4211"}, {kWavelength, "  +504.4211"}, {kWavelength, "   504.4211"},
      {kWavelength, "         .5"}, {kWavelength, "           "}, {kWavelength, "  504.4211-"},
      {kLogGf, "-10.000"},          {kLogGf, "-9.9995"},          {kLogGf, " -2017 "},
      {kLogGf, "  1.D-1"},          {kLogGf, "  - .50"},          {kLogGf, "-.5    "},
      {kSpecies, " 26.00"},         {kSpecies, "26.001"},         {kSpecies, "25.999"},
      {kSpecies, "26.0011"},        {kSpecies, "  2600"},         {kSpecies, " 26.0 "},
      {kSpecies, "+26.00"},         {kSpecies, "2.6E+1"},         {kSpecies, "      "},
      {kSpecies, " 26.01"},         {kEnergy1, "   10000.000"}, {kEnergy1, "    1.0000D4"},
      {kEnergy1, "       1e400"},   {kEnergy2, "9999999999.9"}, {kJ1, "  2.5"}, {kJ1, "   25"},
      {kJ2, "2.5E0"},               {kGammaRadiative, "  8.1-"}, {kGammaStark, "-5.41 "},
      {kGammaVanDerWaals, "-7.5 8"}, {kGammaVanDerWaals, "      "},
  };
  const LineWanted wanted[] = {
      {0.0, 1e30, 26.00}, {0.0, 1e30, 99.99}, {504.42115, 504.42115, 26.00}, {0.0, 1e30, 26.01}};
  long kept = 0;
  for (const Form& form : forms) {
    std::string record = kRealFeI;
    const std::string text = form.text;
    record.replace(form.column.start, form.column.width,
                   text.substr(0, form.column.width) +
                       std::string(form.column.width - std::min(text.size(), form.column.width), ' '));
    const std::string content = around(record);
    const std::string path = scratch.file("GF.10", content);
    for (const LineWanted& w : wanted) {
      kept += static_cast<long>(expect_same_ways(path, w, record).kept.size());
      expect_same_kernels(content, w.cod, record);
    }
  }
  EXPECT_GT(kept, 100);
}

TEST(FastPass, RecordRulesAtWindowAndFileEnds) {
  ScratchDirectory scratch;
  const std::string good = std::string(kRealFeI) + "\n";
  std::string content;
  // More than one mapped window, with odd record lengths so that records
  // straddle the window's end; empty records, a record longer than the fast
  // pass looks, one longer than the 1 MiB limit, comments, CRLF records.
  std::mt19937 random(5);
  std::uniform_int_distribution<int> extra(0, 40);
  while (content.size() < (9u << 20)) {
    for (int i = 0; i < 500; ++i) {
      std::string record = kRealFeI;
      record.append(static_cast<std::size_t>(extra(random)), 'z');
      content += record + (i % 7 == 0 ? "\r\n" : "\n");
    }
    content += "\n";
    content += "  comment line of the list\n";
    content += std::string(kRealFeI) + std::string(5000, 'y') + "\n";
  }
  content += std::string(kRealFeI) + std::string((1u << 20) + 10, 'w') + "\n";
  content += good + good;
  content += "   504.4211 -2.017 26.00";  // the last record, without a line end
  const std::string path = scratch.file("GF.10", content);
  for (const LineWanted& w : kSelections) {
    const WayResult exact = expect_same_ways(path, w, "windows");
    EXPECT_EQ(exact.result.malformed_record, 0);
    long records = 0;
    for (char c : content) records += c == '\n';
    EXPECT_EQ(exact.result.records, records + 1);
  }
  // The same file, with a malformed record after the window's end.
  std::string malformed = content;
  const std::size_t at = malformed.find('\n', 5u << 20) + 1 + kLogGf.start;
  malformed[at] = 'x';
  const std::string bad_path = scratch.file("GF.10", malformed);
  const WayResult exact = expect_same_ways(bad_path, {0.0, 1e30, 99.99}, "malformed");
  long before = 0;
  for (std::size_t i = 0; i < at; ++i) before += malformed[i] == '\n';
  EXPECT_EQ(exact.result.malformed_record, before + 1);
}

TEST(FastPass, ReadsABufferedFileTheSameWay) {
  // A file that is not mapped (every mapping window is taken by other open
  // readers, as with many files open at once) is read into a buffer; the fast
  // pass takes its records from there.
  ScratchDirectory scratch;
  std::string content;
  for (int i = 0; i < 30000; ++i) content += std::string(kRealFeI) + "\n";
  content[static_cast<std::size_t>(20000 * 161 + 30)] = 'x';  // record 20001 is malformed
  const std::string file = scratch.file("GF.10", content);
  const WayResult mapped = run_way(file, {0.0, 1e30, 26.00}, GfScanWay::Exact);
  for (GfScanWay way : {GfScanWay::Fast, GfScanWay::Exact}) {
    std::vector<velko::RecordReader> holders;
    for (;;) {
      holders.push_back(velko::RecordReader::open_file(file, 11, false));
      if (!holders.back().is_mapped()) break;
      ASSERT_LT(holders.size(), 1000u) << "every reader was mapped";
    }
    velko::RecordReader& buffered = holders.back();
    WayResult run;
    run.result = select_gf_lines(buffered, {0.0, 1e30, 26.00}, way,
                                 [&](std::string_view record) { run.kept.emplace_back(record); });
    EXPECT_EQ(run.result.records, mapped.result.records);
    EXPECT_EQ(run.result.malformed_record, 20001);
    EXPECT_EQ(run.result.malformed_text, mapped.result.malformed_text);
    EXPECT_EQ(run.kept, mapped.kept);
  }
}

TEST(FastPass, AFileCutShortWhileItIsReadEndsWhereItWasCut) {
  // Another program truncates the gf file while the line set reads it (here:
  // when the first line is kept). The records before the cut are read, the
  // file then ends as one that cannot be read further, and nothing crashes.
  ScratchDirectory scratch;
  std::string content;
  for (int i = 0; i < 40000; ++i) {
    std::string record = kRealFeI;
    if (i == 100) record.replace(kSpecies.start, kSpecies.width, " 26.01");
    content += record + "\n";
  }
  const std::size_t cut = (2u << 20) + 1000;  // inside the first mapped window
  for (GfScanWay way : {GfScanWay::Fast, GfScanWay::Exact}) {
    const std::string path = scratch.file("GF.10", content);
    velko::RecordReader gf = velko::RecordReader::open_file(path, 11, false);
    int kept = 0;
    const GfFileResult result =
        select_gf_lines(gf, {0.0, 1e30, 26.01}, way, [&](std::string_view) {
          if (kept++ == 0) {
            ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(cut)), 0);
          }
        });
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(result.malformed_record, 0);
    EXPECT_EQ(result.records, static_cast<long>(cut / (content.size() / 40000)));
  }
}

TEST(FastPass, AtMostAMillionRecordsOfAFileAreLookedAt) {
  ScratchDirectory scratch;
  // A million comment records, then a malformed line record that must not be
  // looked at; with one comment fewer it is record 1,000,000 and reported.
  std::string comments;
  for (long i = 0; i < kMaxRecordsPerGfFile - 1; ++i) comments += "c\n";
  const std::string malformed = "   504.4211 -2.0x7 26.00\n";
  const std::string past = scratch.file("past.10", comments + "c\n" + malformed);
  const std::string at = scratch.file("at.10", comments + malformed);
  for (GfScanWay way : {GfScanWay::Fast, GfScanWay::Exact}) {
    const WayResult beyond = run_way(past, {0.0, 1e30, 26.00}, way);
    EXPECT_EQ(beyond.result.records, kMaxRecordsPerGfFile);
    EXPECT_EQ(beyond.result.malformed_record, 0);
    const WayResult last = run_way(at, {0.0, 1e30, 26.00}, way);
    EXPECT_EQ(last.result.malformed_record, kMaxRecordsPerGfFile);
  }
}

}  // namespace
}  // namespace wavepick
