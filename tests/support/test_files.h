// Whole-file and directory helpers shared by the tests that run the built
// programs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace test_files {

// Writes content to path, replacing it; throws when it cannot.
void write_file(const std::string& path, const std::string& content);

// The whole content of path, or nothing when it cannot be read.
std::optional<std::string> read_file(const std::string& path);

// Names of the entries of a directory, sorted.
std::vector<std::string> list_dir(const std::string& dir);

}  // namespace test_files
