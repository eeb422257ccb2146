#include "lookup/byte_search.hpp"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vembrel {

std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  const std::size_t n = haystack.size();
  const std::size_t m = needle.size();
  if (m == 0 || from > n || n - from < m) return std::string_view::npos;
  const char* const h = haystack.data();
#if defined(__SSE2__)
  // Compare the needle's first and last bytes at sixteen positions at once and check the rest
  // only where both agree: few positions survive, so this runs near memory speed.
  const __m128i first = _mm_set1_epi8(needle.front());
  const __m128i last = _mm_set1_epi8(needle.back());
  std::size_t i = from;
  for (; i + m - 1 + 16 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (m <= 2 || std::memcmp(h + i + bit + 1, needle.data() + 1, m - 2) == 0) return i + bit;
      mask &= mask - 1;
    }
  }
  from = i;
#endif
  const void* hit = ::memmem(h + from, n - from, needle.data(), m);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - h) : std::string_view::npos;
}

}  // namespace vembrel
