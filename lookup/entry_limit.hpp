#pragma once
// How much of one dictionary entry the character reads out. A data file with a line of
// hundreds of megabytes would otherwise be copied, decoded, spaced and laid out in balloons
// whole, taking gigabytes of memory and minutes. 64 KiB is far beyond any real entry (the
// longest shipped line is under 1,500 bytes; a balloon page holds about a hundred
// characters), so only a broken file is ever cut.

#include <cstddef>
#include <string_view>

#include "lookup/gbk.hpp"

namespace vembrel {

inline constexpr std::size_t kMaxEntryBytes = 64 * 1024;

// Put after an entry that was cut.
inline constexpr std::u16string_view kCutMark = u"…";

// The first kMaxEntryBytes bytes of a line of GBK bytes, or fewer so that no character is split.
inline std::string_view clip_entry(std::string_view bytes) {
  if (bytes.size() <= kMaxEntryBytes) return bytes;
  std::size_t kept = 0;
  while (kept < kMaxEntryBytes) {
    const std::size_t length = gbk_char_length(bytes, kept);
    if (kept + length > kMaxEntryBytes) break;
    kept += length;
  }
  return bytes.substr(0, kept);
}

}  // namespace vembrel
