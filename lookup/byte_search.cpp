#include "lookup/byte_search.hpp"

#include <cstring>

#include "lookup/byte_search_kernels.hpp"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VEMBREL_HAVE_AVX2_KERNEL 1
#include <immintrin.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vembrel {
namespace byte_search {
namespace {

std::size_t find_with_memmem(const char* h, std::size_t n, std::string_view needle,
                             std::size_t from) {
  const void* hit = ::memmem(h + from, n - from, needle.data(), needle.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - h) : std::string_view::npos;
}

bool fits(std::string_view haystack, std::string_view needle, std::size_t from) {
  return !needle.empty() && from <= haystack.size() && haystack.size() - from >= needle.size();
}

}  // namespace

// Both vector loops compare the needle's first and last bytes at many positions at once and
// check the rest only where both agree: few positions survive, so they run near memory speed.

std::size_t find_sse2(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (!fits(haystack, needle, from)) return std::string_view::npos;
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

#if defined(VEMBREL_HAVE_AVX2_KERNEL)

// Only this function is compiled for AVX2, so the program still runs on older processors.
__attribute__((target("avx2"))) std::size_t find_avx2(std::string_view haystack,
                                                      std::string_view needle, std::size_t from) {
  if (!fits(haystack, needle, from)) return std::string_view::npos;
  const std::size_t n = haystack.size();
  const std::size_t m = needle.size();
  const char* const h = haystack.data();
  const __m256i first = _mm256_set1_epi8(needle.front());
  const __m256i last = _mm256_set1_epi8(needle.back());
  std::size_t i = from;
  for (; i + m - 1 + 32 <= n; i += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + m - 1));
    auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
    while (mask != 0) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (m <= 2 || std::memcmp(h + i + bit + 1, needle.data() + 1, m - 2) == 0) return i + bit;
      mask &= mask - 1;
    }
  }
  return find_sse2(haystack, needle, i);  // fewer than 32 positions left
}

bool avx2_available() {
  static const bool available = [] {
    __builtin_cpu_init();  // may run before the C library has set it up
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return available;
}

#else

std::size_t find_avx2(std::string_view haystack, std::string_view needle, std::size_t from) {
  return find_sse2(haystack, needle, from);
}

bool avx2_available() {
  return false;
}

#endif

}  // namespace byte_search

std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  static const auto find =
      byte_search::avx2_available() ? byte_search::find_avx2 : byte_search::find_sse2;
  return find(haystack, needle, from);
}

}  // namespace vembrel
