// Values that a record read or write transfers.
//
// A write takes a list of OutValue; a read fills a list of InTarget. Texts are
// fixed-length fields: a text written is a string_view whose length is the
// field's length (trailing blanks included); a text read into is a std::string
// whose current size() is the field's length n and stays n.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace velko {

// One value of a write's value list. A 32-bit real is passed as float so that
// its own binary value (not a wider value it was computed from) is written.
using OutValue = std::variant<std::int32_t, float, double, std::string_view>;

// One variable of a read's value list.
using InTarget = std::variant<std::int32_t*, float*, double*, std::string*>;

}  // namespace velko
