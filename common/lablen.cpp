// LABLEN and fixed-length texts.
#include "lablen.h"

#include <algorithm>

namespace velko {

void LABLEN(std::string_view text, int n, int& first, int& last) {
  if (n <= 0) {
    first = 1;
    last = n;
    return;
  }
  // A caller may never look past the text it passes; cut n to the text.
  const int length = static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(n)));
  last = length;
  while (last > 0 && text[static_cast<std::size_t>(last - 1)] == ' ') --last;
  first = 1;
  while (first <= length && text[static_cast<std::size_t>(first - 1)] == ' ') ++first;
  if (length < n && first > length) first = n + 1;  // all blank: n + 1 as for a full text
}

std::string_view trimmed(std::string_view text) {
  int first = 0;
  int last = 0;
  LABLEN(text, static_cast<int>(text.size()), first, last);
  if (last < first) return {};
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::string fixed_text(std::string_view s, std::size_t n) {
  std::string out(s.substr(0, std::min(s.size(), n)));
  out.resize(n, ' ');
  return out;
}

}  // namespace velko
