// Console records, line input and the one-key question.
#include "console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <termios.h>
#include <unistd.h>

#include "formatted_io.h"
#include "program_end.h"
#include "report.h"
#include "list_write.h"

namespace velko::console {
namespace {

// The terminal mode in force before the key question, restored on every exit.
struct termios g_saved_mode;
struct termios g_raw_mode;
volatile std::sig_atomic_t g_raw_mode_active = 0;

void restore_terminal() noexcept {
  if (g_raw_mode_active) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_mode);
    g_raw_mode_active = 0;
  }
}

// After a stop (Ctrl-Z) and "fg" at the key question the shell hands the
// terminal back in its own mode: the question's raw mode is set again.
void reapply_raw_mode() noexcept {
  if (g_raw_mode_active) ::tcsetattr(STDIN_FILENO, TCSANOW, &g_raw_mode);
}

void write_out(std::string_view record) {
  std::fwrite(record.data(), 1, record.size(), stdout);
  std::fputc('\n', stdout);
  if (std::ferror(stdout)) {
    // The console is gone (a closed pipe, a full disk behind a redirection).
    io_fatal(IoError::WriteFailure, kUnitConsoleOut, "standard output");
  }
}

[[noreturn]] void end_of_input_at_key() {
  std::fflush(stdout);
  std::fprintf(stderr, "%s: end of input while waiting for a key: stopped, no file written\n",
               program_invocation_short_name);
  stop_program(kExitStopFailure);
}

}  // namespace

void write_record(std::string_view record) { write_out(record); }

void write_formatted(const Layout& layout, std::span<const OutValue> values) {
  for (const std::string& record : format_records(layout, values)) write_out(record);
}

void write_list(std::span<const OutValue> values) { write_out(list_record(values)); }

bool read_line(std::string& line) {
  std::fflush(stdout);
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = std::getc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (c == EOF && std::ferror(stdin)) io_fatal(IoError::ReadFailure, kUnitConsoleIn, "standard input");
  return any;
}

char read_key() {
  std::fflush(stdout);
  if (::isatty(STDIN_FILENO)) {
    if (::tcgetattr(STDIN_FILENO, &g_saved_mode) == 0) {
      g_raw_mode = g_saved_mode;
      g_raw_mode.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));  // no line editing, no echo
      g_raw_mode.c_cc[VMIN] = 1;
      g_raw_mode.c_cc[VTIME] = 0;
      set_terminal_restore_hook(restore_terminal);
      set_continue_hook(reapply_raw_mode);
      g_raw_mode_active = 1;
      // TCSANOW, not TCSAFLUSH: a key typed while the prompt was being
      // written is the answer, not something to throw away.
      ::tcsetattr(STDIN_FILENO, TCSANOW, &g_raw_mode);
    }
    char key = 0;
    ssize_t got = 0;
    do {
      got = ::read(STDIN_FILENO, &key, 1);
    } while (got < 0 && errno == EINTR);
    restore_terminal();
    if (got != 1) end_of_input_at_key();
    return key;
  }
  // Not a terminal: the next character of the stream. Line ends are skipped,
  // and one line end right after the key belongs to it, so that a script can
  // answer with one key per line.
  int c = 0;
  do {
    c = std::getc(stdin);
  } while (c == '\n' || c == '\r');
  if (c == EOF) end_of_input_at_key();
  int after = std::getc(stdin);
  if (after == '\r') after = std::getc(stdin);
  if (after != '\n' && after != EOF) std::ungetc(after, stdin);
  return static_cast<char>(c);
}

}  // namespace velko::console
