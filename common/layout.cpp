// Parsing the field notation into a tree of layout items.
#include "layout.h"

#include <cctype>
#include <stdexcept>

namespace velko {
namespace {

class NotationParser {
 public:
  explicit NotationParser(std::string_view text) : text_(text) {}

  std::vector<LayoutItem> parse_layout() {
    skip_blanks();
    expect('(');
    std::vector<LayoutItem> items = parse_list();
    expect(')');
    skip_blanks();
    if (pos_ != text_.size()) fail("text after the closing parenthesis");
    return items;
  }

 private:
  // A comma-separated list up to (not including) a closing parenthesis.
  std::vector<LayoutItem> parse_list() {
    std::vector<LayoutItem> items;
    skip_blanks();
    if (peek() == ')') return items;
    for (;;) {
      items.push_back(parse_item());
      skip_blanks();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == ')') return items;
      fail("expected ',' or ')'");
    }
  }

  LayoutItem parse_item() {
    skip_blanks();
    LayoutItem item;
    int count = -1;
    if (std::isdigit(static_cast<unsigned char>(peek()))) count = parse_number();
    skip_blanks();
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(peek())));
    if (c == '\'') {
      if (count != -1) fail("a repeat count before a quoted text");
      item.kind = FieldKind::Literal;
      item.literal = parse_quoted();
      return item;
    }
    if (c == '(') {
      ++pos_;
      item.kind = FieldKind::Group;
      item.repeat = count == -1 ? 1 : count;
      item.items = parse_list();
      expect(')');
      return item;
    }
    if (c == 'X') {
      ++pos_;
      item.kind = FieldKind::Skip;
      item.width = count == -1 ? 1 : count;
      return item;
    }
    item.repeat = count == -1 ? 1 : count;
    ++pos_;
    if (c == 'I') {
      item.kind = FieldKind::Integer;
      item.width = parse_number();
    } else if (c == 'F') {
      item.kind = FieldKind::Real;
      item.width = parse_number();
      expect('.');
      item.decimals = parse_number();
      if (item.decimals >= item.width) fail("F field with no room for the point");
    } else if (c == 'A') {
      item.kind = FieldKind::Text;
      item.width = std::isdigit(static_cast<unsigned char>(peek())) ? parse_number() : 0;
    } else {
      fail("unknown field");
    }
    if (item.repeat <= 0 || (item.kind != FieldKind::Text && item.width <= 0)) fail("zero width or count");
    return item;
  }

  std::string parse_quoted() {
    ++pos_;  // opening apostrophe
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) fail("unterminated quoted text");
      const char c = text_[pos_++];
      if (c == '\'') {
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          out.push_back('\'');
          ++pos_;
          continue;
        }
        return out;
      }
      out.push_back(c);
    }
  }

  int parse_number() {
    if (!std::isdigit(static_cast<unsigned char>(peek()))) fail("expected a number");
    long value = 0;
    while (std::isdigit(static_cast<unsigned char>(peek()))) {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > 100000) fail("number too large");
    }
    return static_cast<int>(value);
  }

  void skip_blanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void expect(char c) {
    skip_blanks();
    if (peek() != c) fail(std::string("expected '") + c + "'");
    ++pos_;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::invalid_argument("bad record layout \"" + std::string(text_) + "\" at column " +
                                std::to_string(pos_ + 1) + ": " + what);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool holds_value_field(const std::vector<LayoutItem>& items) {
  for (const LayoutItem& item : items) {
    if (item.kind == FieldKind::Integer || item.kind == FieldKind::Real ||
        item.kind == FieldKind::Text)
      return true;
    if (item.kind == FieldKind::Group && holds_value_field(item.items)) return true;
  }
  return false;
}

void flatten(const std::vector<LayoutItem>& items, std::vector<FlatField>& flat) {
  for (const LayoutItem& item : items) {
    if (flat.size() > 100000) throw std::invalid_argument("record layout too large");
    if (item.kind == FieldKind::Group) {
      for (int r = 0; r < item.repeat; ++r) flatten(item.items, flat);
    } else if (item.kind == FieldKind::Skip || item.kind == FieldKind::Literal) {
      flat.push_back(FlatField{item.kind, item.width, 0, item.literal});
    } else {
      for (int r = 0; r < item.repeat; ++r)
        flat.push_back(FlatField{item.kind, item.width, item.decimals, {}});
    }
  }
}

}  // namespace

Layout::Layout(std::string_view notation) : notation_(notation) {
  items_ = NotationParser(notation).parse_layout();
  has_value_field_ = holds_value_field(items_);
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].kind == FieldKind::Group) reversion_index_ = i;
  std::vector<LayoutItem> head(items_.begin(), items_.begin() + static_cast<long>(reversion_index_));
  flatten(head, flat_);
  flat_reversion_ = flat_.size();
  std::vector<LayoutItem> tail(items_.begin() + static_cast<long>(reversion_index_), items_.end());
  flatten(tail, flat_);
}

}  // namespace velko
