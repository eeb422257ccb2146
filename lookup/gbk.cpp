#include "lookup/gbk.hpp"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>

namespace vembrel {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's "GBK" is the windows-936 table: 0x80 is the euro sign, as on the platform the data
// files come from. One converter per thread, opened once.
UConverter* gbk_converter() {
  thread_local Converter converter = [] {
    UErrorCode error = U_ZERO_ERROR;
    Converter opened(ucnv_open("GBK", &error));
    return U_SUCCESS(error) ? std::move(opened) : Converter();
  }();
  return converter.get();
}

}  // namespace

std::u16string decode_gbk(std::string_view bytes) {
  UConverter* converter = gbk_converter();
  if (converter == nullptr || bytes.empty()) return {};
  // The streaming call takes pointers, so a line of any length converts in one go.
  std::u16string out(bytes.size(), u'\0');  // one unit per byte at most
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetToUnicode(converter);
  UChar* target = out.data();
  const char* source = bytes.data();
  ucnv_toUnicode(converter, &target, out.data() + out.size(), &source, bytes.data() + bytes.size(),
                 nullptr, true, &error);
  out.resize(U_SUCCESS(error) ? static_cast<std::size_t>(target - out.data()) : 0);
  return out;
}

std::optional<std::string> encode_gbk(std::u16string_view text) {
  UConverter* converter = gbk_converter();
  if (converter == nullptr) return std::nullopt;
  if (text.empty()) return std::string();
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter);
  // Stop at the first character without a GBK form instead of substituting it.
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  std::string out(text.size() * 2, '\0');  // two bytes per unit at most
  char* target = out.data();
  const UChar* source = text.data();
  ucnv_fromUnicode(converter, &target, out.data() + out.size(), &source, text.data() + text.size(),
                   nullptr, true, &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(target - out.data()));
  return out;
}

}  // namespace vembrel
