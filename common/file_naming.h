// How the record layer names files and classifies a failed open: shared by
// the reader and the writer so that both follow one rule.
#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace velko {

// A file name is a text whose trailing blanks are not part of the name.
std::string file_name_of(std::string_view name);

// The report for an open that failed with errno err: the user may not open
// the file (permission, read-only file system), or it can neither be opened
// nor created (anything else).
IoError open_error_of(int err);

}  // namespace velko
