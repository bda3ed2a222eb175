// The two informational arguments that both programs answer before anything
// else: "--help" prints the usage, "--version" the program's name and version.
#pragma once

#include <string_view>

namespace velko {

// The version of both programs, set by the build from the project version.
std::string_view program_version();

// What an informational argument asks for; None for every other command line.
enum class InfoRequest { None, Help, Version };

// Help or Version only when the command line is exactly one argument, "--help"
// or "--version"; any other command line (more arguments, other spellings) is
// left to the program.
InfoRequest info_request(int argc, const char* const* argv);

// Called first thing in main: for "--help" writes the usage text, for
// "--version" the record "<program> <version>", on standard output, and ends
// the program with status 0 before any file, variable or further argument is
// read. Returns for every other command line.
void answer_info_request(int argc, const char* const* argv, std::string_view program,
                         std::string_view usage);

}  // namespace velko
