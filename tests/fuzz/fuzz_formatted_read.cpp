// Fuzzes layouts and formatted reads: the first record is a layout notation,
// the others are read with it; every value read is written back with it.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "formatted_io.h"
#include "fuzz_input.h"
#include "record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> records = fuzz_records(data, size);
  std::vector<velko::FlatField> fields;
  try {
    velko::Layout layout(records[0]);
    if (layout.flat().size() > 400) return 0;
    std::vector<std::int32_t> ints(layout.flat().size());
    std::vector<double> reals(layout.flat().size());
    std::vector<std::string> texts(layout.flat().size(), std::string(6, ' '));
    std::vector<velko::InTarget> targets;
    for (std::size_t k = 0; k < layout.flat().size(); ++k) {
      const velko::FlatField& f = layout.flat()[k];
      if (f.kind == velko::FieldKind::Integer) targets.emplace_back(&ints[k]);
      if (f.kind == velko::FieldKind::Real) targets.emplace_back(&reals[k]);
      if (f.kind == velko::FieldKind::Text) targets.emplace_back(&texts[k]);
    }
    const std::vector<std::string> body(records.begin() + 1, records.end());
    velko::RecordReader reader = velko::RecordReader::from_texts(body);
    while (reader.read_formatted(layout, targets, velko::Handled::Errors) == velko::Outcome::Done) {
      std::vector<velko::OutValue> values;
      for (std::size_t k = 0; k < layout.flat().size(); ++k) {
        const velko::FlatField& f = layout.flat()[k];
        if (f.kind == velko::FieldKind::Integer) values.emplace_back(ints[k]);
        if (f.kind == velko::FieldKind::Real) values.emplace_back(reals[k]);
        if (f.kind == velko::FieldKind::Text) values.emplace_back(std::string_view(texts[k]));
      }
      for (const std::string& out : velko::format_records(layout, values))
        if (out.size() > 1000000) __builtin_trap();
    }
  } catch (const std::invalid_argument&) {
    return 0;  // not a layout
  }
  return 0;
}
