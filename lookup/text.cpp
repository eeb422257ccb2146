#include "lookup/text.hpp"

#include <unicode/ustring.h>

namespace vembrel {

std::u16string utf8_to_utf16(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');  // never more units than bytes
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                       static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &error);
  out.resize(U_SUCCESS(error) ? length : 0);
  return out;
}

std::string utf16_to_utf8(std::u16string_view utf16) {
  std::string out(utf16.size() * 3, '\0');  // never more than three bytes per unit
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf16.data(),
                     static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &error);
  out.resize(U_SUCCESS(error) ? length : 0);
  return out;
}

std::u16string spaced_text(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    const bool pair =
        (text[i] & 0xFC00) == 0xD800 && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00;
    if (pair) out += text[++i];
    out += u' ';
  }
  return out;
}

std::u16string_view trim_blanks(std::u16string_view text) {
  constexpr std::u16string_view kBlanks = u" \t\r\n\u3000";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::u16string decimal(std::int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace vembrel
