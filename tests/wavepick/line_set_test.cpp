// The line set's pieces: the gf file table, the fixed-column decode of gf
// records and the "lines.tmp" record.
#include <gtest/gtest.h>

#include <string>

#include "line_set.h"

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

}  // namespace
}  // namespace wavepick
