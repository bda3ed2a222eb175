// Fixed-length texts: LABLEN and the helpers built on it.
//
// Names, paths and input lines are held in texts of fixed length, filled on the
// right with blanks. Only the blank (character 32) counts as filler; a tab or a
// NUL is content.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velko {

// The length of a record read as a text: the input records that are looked at
// before their values are decoded, and the model and candidate records handed
// on, are 80-character texts (a longer record is cut, a shorter one padded).
inline constexpr std::size_t kRecordTextLength = 80;

// Positions (from 1) of the first and last non-blank character among the first
// n characters of text. All blank: first = n + 1, last = 0. n <= 0: first = 1,
// last = n. n must not exceed text.size() (checked: n is cut to the size).
void LABLEN(std::string_view text, int n, int& first, int& last);

// The used part of a text: the characters from first to last, empty when the
// text is all blanks.
std::string_view trimmed(std::string_view text);

// A text of exactly n characters: s cut after n characters or padded with
// blanks on the right.
std::string fixed_text(std::string_view s, std::size_t n);

}  // namespace velko
