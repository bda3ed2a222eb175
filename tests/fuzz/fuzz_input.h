// Splitting fuzz input into records, as a record file would hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> fuzz_records(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> records(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      records.emplace_back();
    } else {
      records.back().push_back(static_cast<char>(data[i]));
    }
  }
  return records;
}
