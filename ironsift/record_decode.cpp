#include "record_decode.h"

#include "formatted_io.h"
#include "io_outcome.h"
#include "list_read.h"

namespace ironsift {
namespace {

// Supplies one text as a file of one record.
class SingleRecordSupply : public velko::RecordSupply {
 public:
  explicit SingleRecordSupply(std::string_view text) : text_(text) {}
  bool next(std::string_view& record) override {
    if (used_) return false;
    used_ = true;
    record = text_;
    return true;
  }

 private:
  std::string_view text_;
  bool used_ = false;
};

[[noreturn]] void report(velko::Outcome outcome, velko::IoError error, std::string_view text,
                         const RecordOrigin& origin) {
  const velko::IoError shown =
      outcome == velko::Outcome::EndOfFile ? velko::IoError::EndOfFile : error;
  velko::io_fatal(shown, origin.unit, origin.file,
                  velko::RecordPlace{origin.record_number, text, false});
}

}  // namespace

void decode_list_or_stop(std::string_view text, std::span<const velko::InTarget> targets,
                         const RecordOrigin& origin) {
  SingleRecordSupply supply(text);
  velko::ListReadFailure failure;
  const velko::Outcome outcome = velko::read_list_records(targets, supply, failure);
  if (outcome != velko::Outcome::Done) report(outcome, failure.error, text, origin);
}

void decode_formatted_or_stop(std::string_view text, const velko::Layout& layout,
                              std::span<const velko::InTarget> targets,
                              const RecordOrigin& origin) {
  SingleRecordSupply supply(text);
  velko::FormattedReadFailure failure;
  const velko::Outcome outcome = velko::read_formatted_records(layout, targets, supply, failure);
  if (outcome != velko::Outcome::Done) report(outcome, failure.error, text, origin);
}

}  // namespace ironsift
