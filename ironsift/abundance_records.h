// One record of a star's abundance results (".abd").
//
// Each record is read as a text of 80 characters (a longer record is cut). A
// record whose first character is "#" is a comment; any other record holds
// eight free-format values: line number, species code, an unused value,
// excitation potential, an unused value, equivalent width, and the abundance
// for Fe I and for Fe II lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ironsift_state.h"

#include "lablen.h"
#include "record_reader.h"

namespace ironsift {

struct AbundanceRecord {
  std::string text = std::string(velko::kRecordTextLength, ' ');  // the record as read
  bool comment = false;           // first character "#": values not decoded
  std::int32_t line_number = 0;   // value 1
  float species = 0.0f;           // value 2: 26.00 Fe I, 26.01 Fe II
  float unused3 = 0.0f;           // value 3
  float excitation = 0.0f;        // value 4, eV
  float unused5 = 0.0f;           // value 5
  float width = 0.0f;             // value 6, mÅ
  float abundance_fe1 = 0.0f;     // value 7
  float abundance_fe2 = 0.0f;     // value 8
};

// The abundance of the record for a line of the given table: value 7 for Fe I,
// value 8 for Fe II.
inline float abundance_of(const AbundanceRecord& record, const FeSpecies& species) {
  return species.code == kFe1.code ? record.abundance_fe1 : record.abundance_fe2;
}

// Characters 5 to 33 of a record's text (blank-padded when the text is
// shorter): species, wavelength, excitation potential and log gf in the
// columns the sample files write them, copied unchanged into the listing of
// rejected lines and the records of the written line list and deletion log.
inline constexpr std::size_t kCopiedColumnsFrom = 4;
inline constexpr std::size_t kCopiedColumnsLength = 29;
std::string copied_columns(std::string_view record_text);

// Reads the next record into record. Returns false at end of file. A data
// record whose values cannot be read ends the program with the record layer's
// report naming the file and the record. Values left empty by the record (two
// commas, a slash) keep what record held before.
bool read_abundance_record(velko::RecordReader& reader, AbundanceRecord& record);

}  // namespace ironsift
