#pragma once
// GBK (code page 936) conversion, the encoding of every data file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vembrel {

// Length of the GBK character that starts at data[at], as the decoder reads it: a lead byte
// (81..FE) takes the next byte along when that byte can follow a lead byte; everything else
// is one byte on its own.
inline std::size_t gbk_char_length(std::string_view data, std::size_t at) {
  const auto lead = static_cast<unsigned char>(data[at]);
  if (lead < 0x81 || lead == 0xFF || at + 1 >= data.size()) return 1;
  const auto trail = static_cast<unsigned char>(data[at + 1]);
  return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

// Bytes that are not valid GBK decode to U+FFFD and never stop the decoder.
std::u16string decode_gbk(std::string_view bytes);

// The GBK bytes of a text, or nothing when some character has no GBK form.
std::optional<std::string> encode_gbk(std::u16string_view text);

}  // namespace vembrel
