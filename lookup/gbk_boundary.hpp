#pragma once
// Telling whether a GBK character starts at a byte without decoding the line from its start.
//
// Under gbk_char_length a lead byte (81..FE) takes the next byte along when that byte can end
// a character (40..FE but 7F). Every lead byte can also end a character, so in a run of lead
// bytes the characters are pairs counted from the run's start, and the byte just before a run
// always ends a character: it is no lead byte, so it is either a character of its own or the
// second byte of a pair. Whether a character starts at a byte thus depends only on the run of
// lead bytes just before it.

#include <cstddef>

namespace vembrel {

inline bool is_gbk_lead_byte(unsigned char byte) {
  return byte >= 0x81 && byte != 0xFF;
}
inline bool is_gbk_trail_byte(unsigned char byte) {
  return byte >= 0x40 && byte != 0x7F && byte != 0xFF;
}

// Where the run of lead bytes that ends just before `at` starts, looking back no further than
// `floor` (a byte where a character starts).
std::size_t gbk_lead_run_start(const unsigned char* bytes, std::size_t floor, std::size_t at);

// Whether a character starts at `at` when the lead bytes [run_start, at) are read as pairs from
// run_start: an odd run leaves a lead byte that takes `at` along if it can.
inline bool gbk_starts_character(const unsigned char* bytes, std::size_t run_start,
                                 std::size_t at) {
  return (at - run_start) % 2 == 0 || !is_gbk_trail_byte(bytes[at]);
}

}  // namespace vembrel
