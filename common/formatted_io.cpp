// Applying a layout to a value list.
#include "formatted_io.h"

#include <stdexcept>

#include "field_decode.h"
#include "field_edit.h"

namespace velko {
namespace {

bool takes_value(FieldKind kind) {
  return kind == FieldKind::Integer || kind == FieldKind::Real || kind == FieldKind::Text;
}

[[noreturn]] void mismatch(const Layout& layout, const char* what) {
  throw std::logic_error(std::string("record layout ") + layout.notation() + ": " + what);
}

void write_value(std::string& record, const FlatField& field, const OutValue& value,
                 const Layout& layout) {
  switch (field.kind) {
    case FieldKind::Integer:
      if (const auto* i = std::get_if<std::int32_t>(&value)) return edit_integer(record, *i, field.width);
      mismatch(layout, "an I field needs an integer");
    case FieldKind::Real:
      if (const auto* f = std::get_if<float>(&value)) return edit_real(record, *f, field.width, field.decimals);
      if (const auto* d = std::get_if<double>(&value)) return edit_real(record, *d, field.width, field.decimals);
      mismatch(layout, "an F field needs a real");
    case FieldKind::Text:
      if (const auto* t = std::get_if<std::string_view>(&value)) {
        const int width = field.width == 0 ? static_cast<int>(t->size()) : field.width;
        return edit_text(record, *t, width);
      }
      mismatch(layout, "an A field needs a text");
    default:
      mismatch(layout, "not a value field");
  }
}

// The w characters of a field starting at pos, as far as the record has them.
std::string_view field_slice(std::string_view record, std::size_t pos, std::size_t width) {
  if (pos >= record.size()) return {};
  return record.substr(pos, width);
}

bool read_value(std::string_view record, std::size_t pos, const FlatField& field,
                const InTarget& target, const Layout& layout) {
  switch (field.kind) {
    case FieldKind::Integer:
      if (auto* const* i = std::get_if<std::int32_t*>(&target))
        return decode_integer(field_slice(record, pos, static_cast<std::size_t>(field.width)), **i);
      mismatch(layout, "an I field needs an integer variable");
    case FieldKind::Real: {
      const std::string_view slice = field_slice(record, pos, static_cast<std::size_t>(field.width));
      if (auto* const* f = std::get_if<float*>(&target)) return decode_real(slice, field.decimals, **f);
      if (auto* const* d = std::get_if<double*>(&target)) return decode_real(slice, field.decimals, **d);
      mismatch(layout, "an F field needs a real variable");
    }
    case FieldKind::Text:
      if (auto* const* t = std::get_if<std::string*>(&target)) {
        const std::size_t width = field.width == 0 ? (*t)->size() : static_cast<std::size_t>(field.width);
        std::string padded(field_slice(record, pos, width));
        padded.resize(width, ' ');  // a short record reads as if padded with blanks
        decode_text(padded, **t);
        return true;
      }
      mismatch(layout, "an A field needs a text variable");
    default:
      mismatch(layout, "not a value field");
  }
}

std::size_t field_width(const FlatField& field, const InTarget* target) {
  if (field.kind == FieldKind::Text && field.width == 0 && target != nullptr)
    if (auto* const* t = std::get_if<std::string*>(target)) return (*t)->size();
  if (field.kind == FieldKind::Literal) return 0;  // quoted texts take no columns on input
  return static_cast<std::size_t>(field.width);
}

// Applies the layout to the values, record by record: record holds the record
// being made; at each reversion end_record(record) takes it and a new one
// begins. The last record is left in record.
template <typename EndRecord>
void format_into(std::string& record, const Layout& layout, std::span<const OutValue> values,
                 EndRecord end_record) {
  const std::vector<FlatField>& flat = layout.flat();
  if (!values.empty() && !layout.has_value_field())
    mismatch(layout, "values given to a layout without value fields");
  record.clear();
  std::size_t column = 0;  // where the next field starts (0-based)
  std::size_t next_value = 0;
  std::size_t i = 0;
  for (;;) {
    if (i == flat.size()) {
      if (next_value == values.size()) break;
      end_record(record);  // reversion: a new record begins
      record.clear();
      column = 0;
      i = layout.flat_reversion();
      continue;
    }
    const FlatField& field = flat[i];
    if (takes_value(field.kind)) {
      if (next_value == values.size()) break;
      record.resize(column, ' ');
      write_value(record, field, values[next_value++], layout);
      column = record.size();
    } else if (field.kind == FieldKind::Skip) {
      column += static_cast<std::size_t>(field.width);
    } else {
      record.resize(column, ' ');
      record += field.literal;
      column = record.size();
    }
    ++i;
  }
}

}  // namespace

std::vector<std::string> format_records(const Layout& layout, std::span<const OutValue> values) {
  std::vector<std::string> records;
  std::string record;
  format_into(record, layout, values,
              [&](std::string& full) { records.push_back(std::move(full)); });
  records.push_back(std::move(record));
  return records;
}

void format_record(std::string& record, const Layout& layout, std::span<const OutValue> values) {
  format_into(record, layout, values,
              [&](std::string&) { mismatch(layout, "the values need more than one record"); });
}

Outcome read_formatted_records(const Layout& layout, std::span<const InTarget> targets,
                               RecordSupply& supply, ReadFailure& failure) {
  const std::vector<FlatField>& flat = layout.flat();
  if (!targets.empty() && !layout.has_value_field())
    mismatch(layout, "variables given to a layout without value fields");
  std::string_view record;
  if (!supply.next(record)) {
    failure = {IoError::EndOfFile, {}};
    return Outcome::EndOfFile;
  }
  std::size_t column = 0;
  std::size_t next_target = 0;
  std::size_t i = 0;
  for (;;) {
    if (i == flat.size()) {
      if (next_target == targets.size()) break;
      if (!supply.next(record)) {
        failure = {IoError::EndOfFile, {}};
        return Outcome::EndOfFile;
      }
      column = 0;
      i = layout.flat_reversion();
      continue;
    }
    const FlatField& field = flat[i];
    if (takes_value(field.kind)) {
      if (next_target == targets.size()) break;
      const InTarget& target = targets[next_target++];
      if (!read_value(record, column, field, target, layout)) {
        failure = {IoError::Conversion, std::string(record)};
        return Outcome::Error;
      }
      column += field_width(field, &target);
    } else {
      column += field_width(field, nullptr);
    }
    ++i;
  }
  return Outcome::Done;
}

}  // namespace velko
