#include "lookup/gbk_boundary.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vembrel {

std::size_t gbk_lead_run_start(const unsigned char* bytes, std::size_t floor, std::size_t at) {
  std::size_t i = at;
#if defined(__SSE2__)
  // Chinese text is almost all lead bytes, so runs are long: look at sixteen bytes at once.
  // As signed bytes the lead bytes are -127..-2; everything else is 80 (-128) or -1..127.
  const __m128i minus_two = _mm_set1_epi8(-2);
  const __m128i minus_128 = _mm_set1_epi8(-128);
  while (i - floor >= 16) {
    const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i - 16));
    const auto other = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpgt_epi8(sixteen, minus_two), _mm_cmpeq_epi8(sixteen, minus_128))));
    if (other != 0) return i - 16 + static_cast<std::size_t>(32 - __builtin_clz(other));
    i -= 16;
  }
#endif
  while (i > floor && is_gbk_lead_byte(bytes[i - 1])) --i;
  return i;
}

}  // namespace vembrel
