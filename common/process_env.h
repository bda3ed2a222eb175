// The process environment: command-line arguments, environment values, and
// running other programs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velko {

// Keeps argc/argv for argument_text; called once from main.
void set_arguments(int argc, char** argv);

// Argument k (from 1) as a text of n characters: left-justified, blank-padded,
// cut to n. An argument not given arrives as n blanks.
std::string argument_text(int k, std::size_t n = 80);

// The value of an environment variable as a text of n characters; all blanks
// when the variable is not set.
std::string environment_text(const char* name, std::size_t n = 80);

// How a program that was run ended.
struct RunResult {
  bool started = false;      // false: the program could not be run to its end
  int start_error = 0;       // when not started: errno of the failed start, or of
                             // the wait for a program that could not be waited for
  bool exited = false;       // ended by exit (exit_status valid)
  int exit_status = 0;
  int signal = 0;            // the signal that ended it, when not exited
};

// Runs a program with an argument vector and no shell, and waits for it.
// A program name without "/" is looked up through PATH. args excludes the
// program name (argv[0] is program). A signal that would end this program
// (SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM) arriving while
// the program runs is passed on to it; once it has ended, the signal takes
// effect here as it would have (the termination handlers clean up and end
// the process), so no started program is left running behind.
RunResult run_program(const std::string& program, const std::vector<std::string>& args);

}  // namespace velko
