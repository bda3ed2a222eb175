// How a program ends: stops, the output files still being written, the
// terminal, signals, and a seam for harnesses.
//
// Every end (a stop, the record layer's report, a terminating signal) removes
// the temporary files of outputs not yet committed and restores the terminal,
// so that no run leaves debris or a terminal in raw mode behind.
#pragma once

#include <string>

#include "outcome.h"

namespace velko {

// Ends the program: flushes standard output, removes unfinished output files,
// restores the terminal, and exits with the given status. A console that could
// not be written turns a normal end into the write-failure report.
[[noreturn]] void stop_program(int status);

// Removes unfinished output files, restores the terminal and ends with the
// status (through the program-end handler when one is set). For the report,
// which has written its lines already.
[[noreturn]] void end_program_after_cleanup(int status);

// Registry of output files still being written (temporary names), removed when
// the program ends before they are committed: by the report, stop_program, or
// a terminating signal.
void register_pending_output(const std::string& temp_path);
void unregister_pending_output(const std::string& temp_path);
void remove_pending_outputs() noexcept;

// Called once at program start: installs handlers for every signal whose
// default action ends the process (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE,
// SIGXFSZ, SIGXCPU, SIGALRM, SIGVTALRM, SIGPROF, SIGUSR1, SIGUSR2, SIGIO,
// SIGPWR, SIGSTKFLT and the real-time signals) that remove unfinished output
// files, restore the terminal and pass the signal on to a program being run,
// before the signal ends the process as it would have. A signal that the
// process was started with ignored stays ignored (nohup, a harness that turns
// a file-size limit into a write error). Signals that report a fault of the
// program itself (SIGSEGV, SIGABRT, ...) are left alone.
void install_termination_handlers();

// Holds back the ending signals for its lifetime: one that arrives meanwhile
// takes effect when the holder ends. For steps that must be done whole.
class EndingSignalsHeld {
 public:
  EndingSignalsHeld();
  ~EndingSignalsHeld();
  EndingSignalsHeld(const EndingSignalsHeld&) = delete;
  EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

 private:
  unsigned char saved_[128];  // the signal mask before (a sigset_t)
};

// A hook run (async-signal-safe) on every exit path; the console uses it to
// restore the terminal's mode.
void set_terminal_restore_hook(void (*hook)() noexcept);

// A hook run (async-signal-safe) when the process continues after a stop
// (SIGCONT); the console uses it to put the terminal back into the mode of a
// question being asked. nullptr: none.
void set_continue_hook(void (*hook)() noexcept);

// The program being run and waited for (0: none). A signal that ends this
// process is passed on to it, and it is waited for, so that it does not go
// on working in the directory after the run has ended.
void set_running_child(int pid) noexcept;

// Where a program ends. By default the report and stop_program end the process
// with std::exit. A harness that runs a program's own code many times in one
// process (a fuzz target) installs a handler that throws instead, so that a
// report or a stop on bad input is an ordinary outcome there rather than the
// end of the harness. The handler is called with the exit status after the
// report is written and the cleanup is done; it must not return (if it does,
// the process exits as usual). nullptr restores the default.
using ProgramEndHandler = void (*)(int status);
void set_program_end_handler(ProgramEndHandler handler);

}  // namespace velko
