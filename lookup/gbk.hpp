#pragma once
// GBK (code page 936) conversion, the encoding of every data file.

#include <optional>
#include <string>
#include <string_view>

namespace vembrel {

// Bytes that are not valid GBK decode to U+FFFD and never stop the decoder.
std::u16string decode_gbk(std::string_view bytes);

// The GBK bytes of a text, or nothing when some character has no GBK form.
std::optional<std::string> encode_gbk(std::u16string_view text);

}  // namespace vembrel
