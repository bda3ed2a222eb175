// What a formatted or a free-format read takes its records from, and what it
// tells its caller when it fails.
#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace velko {

// Supplies the records of one read, one after the other. Returns false at end
// of data.
class RecordSupply {
 public:
  virtual ~RecordSupply() = default;
  virtual bool next(std::string_view& record) = 0;
};

// Where a failed read stopped, for the caller's report: the situation and the
// record being decoded (empty at end of data).
struct ReadFailure {
  IoError error = IoError::Conversion;
  std::string record;
};

}  // namespace velko
