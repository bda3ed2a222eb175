// The console: records out, lines and single keys in.
//
// Records go to standard output, each ended by a line feed; standard output is
// flushed before any console input so that a prompt is always seen first.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "layout.h"
#include "values.h"

namespace velko::console {

void write_record(std::string_view record);
void write_formatted(const Layout& layout, std::span<const OutValue> values);
inline void write_formatted(const Layout& layout, std::initializer_list<OutValue> values) {
  write_formatted(layout, std::span<const OutValue>(values.begin(), values.size()));
}
void write_list(std::span<const OutValue> values);
inline void write_list(std::initializer_list<OutValue> values) {
  write_list(std::span<const OutValue>(values.begin(), values.size()));
}

// One line from standard input, without its line end (LF or CRLF). Returns
// false at end of input with nothing read.
bool read_line(std::string& line);

// The one-key question. On a terminal: one key press, taken in raw mode
// without echo and without Enter; the terminal's mode is restored afterwards
// and on every exit path, signals included. When standard input is not a
// terminal: the next character of the stream, skipping line ends so that
// scripts can answer one key per line. At end of input: a message on standard
// error and exit status kExitStopFailure, nothing written.
char read_key();

}  // namespace velko::console
