// Directory keys below the suite's home directory (RETENV) and the digit test
// (IFNUM).
#pragma once

#include <string>
#include <string_view>

namespace wavepick {

inline constexpr std::size_t kDirectoryKeyLength = 7;
inline constexpr std::size_t kDirectoryPathLength = 80;

// The directory path of a key, as an 80-character blank-padded text: the value
// of VELKO without its leading and trailing blanks, followed by the key's
// suffix, cut after 80 characters. Keys: "VELKO" (no suffix), "VLK_DIR"
// (/exefiles), "MOD_DIR" (/k2models), "KGF_DIR" (/kbgfdos), "SFX_DIR"
// (/sflxkpno), "DAT_DIR" (/miscdata); leading and trailing blanks of the key
// do not count, letters must match exactly. Any other key writes
// "I do not understand " and the key, and stops the program (status 1).
std::string RETENV(std::string_view key);

// False when VELKO is not set or holds only blanks: every directory is then
// taken from the root.
bool velko_is_set();

// 1 when the first character of text is one of the digits, otherwise 0 (also
// for an empty text).
int IFNUM(std::string_view text);

}  // namespace wavepick
