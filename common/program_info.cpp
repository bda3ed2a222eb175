// Answers "--help" and "--version" before a program reads anything else.
#include "program_info.h"

#include <string>

#include "console.h"
#include "program_end.h"

#ifndef VELKO_VERSION
#error "VELKO_VERSION must be set by the build"
#endif

namespace velko {

std::string_view program_version() { return VELKO_VERSION; }

InfoRequest info_request(int argc, const char* const* argv) {
  if (argc != 2 || argv == nullptr || argv[1] == nullptr) return InfoRequest::None;
  const std::string_view argument = argv[1];
  if (argument == "--help") return InfoRequest::Help;
  if (argument == "--version") return InfoRequest::Version;
  return InfoRequest::None;
}

void answer_info_request(int argc, const char* const* argv, std::string_view program,
                         std::string_view usage) {
  switch (info_request(argc, argv)) {
    case InfoRequest::None:
      return;
    case InfoRequest::Help: {
      // The usage text is written record by record; a final line end is not
      // an extra empty record.
      std::string_view rest = usage;
      if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
      while (true) {
        const std::size_t end = rest.find('\n');
        console::write_record(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
      }
      break;
    }
    case InfoRequest::Version:
      console::write_record(std::string(program) + " " + std::string(program_version()));
      break;
  }
  stop_program(kExitNormal);
}

}  // namespace velko
