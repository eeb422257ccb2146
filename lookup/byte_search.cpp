#include "lookup/byte_search.hpp"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vembrel {
namespace {

std::size_t find_with_memmem(const char* h, std::size_t n, std::string_view needle,
                             std::size_t from) {
  const void* hit = ::memmem(h + from, n - from, needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - h) : std::string_view::npos;
}

}  // namespace

// The vector loop compares the needle's first and last bytes at 16 positions at once and
// checks the rest only where both agree: few positions survive, so it runs near memory speed.
// The C library's memmem takes the last few positions (and every position without SSE2).
std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (needle.empty() || from > haystack.size() || haystack.size() - from < needle.size())
    return std::string_view::npos;
  const std::size_t n = haystack.size();
  const std::size_t m = needle.size();
  const char* const h = haystack.data();
#if defined(__SSE2__)
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
  return find_with_memmem(h, n, needle, from);
}

}  // namespace vembrel
