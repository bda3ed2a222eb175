// Record layouts in the field notation: Iw, Fw.d, A, Aw, nX, quoted texts,
// repeat counts (rF) and repeated groups (r( ... )), e.g. "(I4, F7.1, 1X, A21)".
//
// A Layout is parsed once from its notation and then applied to any number of
// records by formatted_io.h. A notation that cannot be parsed is a programming
// error and throws std::invalid_argument at construction.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velko {

enum class FieldKind {
  Integer,  // Iw
  Real,     // Fw.d
  Text,     // A (width 0: the text's own length) or Aw
  Skip,     // nX
  Literal,  // 'text' with '' standing for one apostrophe
  Group,    // r( ... )
};

struct LayoutItem {
  FieldKind kind = FieldKind::Skip;
  int repeat = 1;        // r in rF or r( ... ); 1 when not given
  int width = 0;         // w of Iw, Fw.d, Aw; n of nX; 0 for a bare A
  int decimals = 0;      // d of Fw.d
  std::string literal;   // the text of a quoted item, apostrophes undoubled
  std::vector<LayoutItem> items;  // the contents of a group
};

// One primitive field of a layout with every repeat count expanded: the walk
// that formatted reads and writes follow.
struct FlatField {
  FieldKind kind = FieldKind::Skip;  // never Group
  int width = 0;
  int decimals = 0;
  std::string literal;
};

class Layout {
 public:
  explicit Layout(std::string_view notation);

  const std::vector<LayoutItem>& items() const { return items_; }
  // Index in items() where a new record starts when the layout is used up and
  // values remain: the last top-level group, or 0 when there is none.
  std::size_t reversion_index() const { return reversion_index_; }
  // True when the layout holds at least one field that takes a value.
  bool has_value_field() const { return has_value_field_; }
  const std::string& notation() const { return notation_; }
  // The fields in order, repeats expanded, and the position in that sequence
  // where a new record starts on reversion.
  const std::vector<FlatField>& flat() const { return flat_; }
  std::size_t flat_reversion() const { return flat_reversion_; }

 private:
  std::string notation_;
  std::vector<LayoutItem> items_;
  std::size_t reversion_index_ = 0;
  bool has_value_field_ = false;
  std::vector<FlatField> flat_;
  std::size_t flat_reversion_ = 0;
};

}  // namespace velko
