#pragma once
// The ways find_bytes can run, one per instruction set, each giving the same answers. Only
// find_bytes and the tests use them directly.

#include <cstddef>
#include <string_view>

namespace vembrel::byte_search {

// With 16-byte SSE2 steps where the build targets SSE2, with memmem alone elsewhere.
std::size_t find_sse2(std::string_view haystack, std::string_view needle, std::size_t from);

// With 32-byte AVX2 steps; call it only where avx2_available().
std::size_t find_avx2(std::string_view haystack, std::string_view needle, std::size_t from);

// Whether this processor runs find_avx2.
bool avx2_available();

}  // namespace vembrel::byte_search
