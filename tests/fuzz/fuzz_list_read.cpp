// Fuzzes free-format reads: the first byte chooses the variables' types, the
// rest are records read again and again until they are used up.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "list_write.h"
#include "record_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t kinds = data[0];
  const std::vector<std::string> records = fuzz_records(data + 1, size - 1);
  velko::RecordReader reader = velko::RecordReader::from_texts(records);
  std::int32_t i = 0;
  float f = 0;
  double d = 0;
  std::string text(8, ' ');
  std::vector<velko::InTarget> targets;
  for (int k = 0; k < 1 + (kinds >> 6); ++k) {
    switch ((kinds >> (2 * k)) & 3) {
      case 0: targets.emplace_back(&i); break;
      case 1: targets.emplace_back(&f); break;
      case 2: targets.emplace_back(&d); break;
      default: targets.emplace_back(&text); break;
    }
  }
  while (reader.read_list(targets, velko::Handled::Errors) != velko::Outcome::EndOfFile) {
    const std::vector<velko::OutValue> values = {i, f, d, std::string_view(text)};
    (void)velko::list_record(values);
    if (text.size() != 8) __builtin_trap();  // a text keeps its length
  }
  return 0;
}
