// Decoding a record text read earlier, reported as that file's record.
#include "record_decode.h"

namespace velko {

void decode_list_or_stop(std::string_view text, std::span<const InTarget> targets,
                         const RecordOrigin& origin) {
  RecordReader reader = RecordReader::from_text(text, origin);
  reader.read_list(targets, Handled::Nothing);
}

void decode_formatted_or_stop(std::string_view text, const Layout& layout,
                              std::span<const InTarget> targets, const RecordOrigin& origin) {
  RecordReader reader = RecordReader::from_text(text, origin);
  reader.read_formatted(layout, targets, Handled::Nothing);
}

}  // namespace velko
