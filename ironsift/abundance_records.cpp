#include "abundance_records.h"

#include "lablen.h"
#include "record_decode.h"

namespace ironsift {

std::string copied_columns(std::string_view record_text) {
  return velko::fixed_text(record_text, kCopiedColumnsFrom + kCopiedColumnsLength)
      .substr(kCopiedColumnsFrom);
}

bool read_abundance_record(velko::RecordReader& reader, AbundanceRecord& record) {
  std::string text(velko::kRecordTextLength, ' ');
  if (reader.read_text(text, velko::kRecordTextLength, velko::Handled::EndOfFile) ==
      velko::Outcome::EndOfFile) {
    return false;
  }
  record.text = text;
  record.comment = record.text.front() == '#';
  if (record.comment) return true;
  velko::decode_list_or_stop(record.text,
                      {&record.line_number, &record.species, &record.unused3, &record.excitation,
                       &record.unused5, &record.width, &record.abundance_fe1,
                       &record.abundance_fe2},
                      velko::RecordOrigin{reader.name(), reader.unit(), reader.record_number()});
  return true;
}

}  // namespace ironsift
