#pragma once
// Text helpers: the program holds text as UTF-16 and talks UTF-8 to the outside world.

#include <cstdint>
#include <string>
#include <string_view>

namespace vembrel {

// Invalid UTF-8 becomes U+FFFD, so no input can stop the program.
std::u16string utf8_to_utf16(std::string_view utf8);
// A lone surrogate has no UTF-8 form and becomes U+FFFD.
std::string utf16_to_utf8(std::u16string_view utf16);

// The text with one blank after every character, the last one included. A surrogate
// pair is one character, so its halves are never split by a blank.
std::u16string spaced_text(std::u16string_view text);

// The text without the blanks a paste often brings around it: ASCII space, tab, CR, LF and the
// full-width space U+3000, at either end. Blanks inside the text stay.
std::u16string_view trim_blanks(std::u16string_view text);

// A number in decimal, without blank, sign or leading zero.
std::u16string decimal(std::int64_t number);

}  // namespace vembrel
