#pragma once
// Finding a byte string in a large buffer, the inner loop of every phrase lookup.

#include <cstddef>
#include <string_view>

namespace vembrel {

// Offset of the first occurrence of `needle` in `haystack` at or after `from`, or npos. The
// needle must not be empty.
std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from);

}  // namespace vembrel
