// How the record layer names files, follows links to the file meant, and
// classifies a failed open: shared by the reader and the writer so that both
// follow one rule.
#pragma once

#include <string>
#include <string_view>

#include <sys/types.h>

#include "outcome.h"

namespace velko {

// A file name is a text whose trailing blanks are not part of the name.
std::string file_name_of(std::string_view name);

// The file a name stands for: where the name is a symbolic link, the file it
// leads to through every link (a relative link is taken from the link's own
// directory). The target need not exist. A name that is not a link, or a
// chain of links that does not end, is returned as it is.
std::string resolved_target(const std::string& name);

// The descriptor of this process that a name stands for, when it leads
// through /proc/self/fd/N (as /dev/stdout leads to /proc/self/fd/1, and
// /dev/fd/N to /proc/self/fd/N); -1 for any other name.
int own_descriptor_named(const std::string& name);

// The directory part of a path ("." for a bare name, "/" for the root).
std::string directory_of(const std::string& path);

// The report for an open that failed with errno err: the user may not open
// the file (permission, read-only file system), or it can neither be opened
// nor created (anything else).
IoError open_error_of(int err);

// What a file that is not a regular file is, as a further report line ("is a
// FIFO", "is a device", ...); empty for a regular file.
std::string_view kind_of_non_regular(mode_t mode);

}  // namespace velko
