// find_bytes on the cases that trip vector loops, and against std::string_view::find.

#include "lookup/byte_search.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vembrel {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// `needle` placed at `at` in a run of filler bytes `size` long.
std::string placed(std::size_t size, std::string_view needle, std::size_t at, char filler = 'x') {
  std::string s(size, filler);
  s.replace(at, needle.size(), needle);
  return s;
}

TEST(FindBytes, FindsTheFirstOccurrenceAtEveryEdge) {
  const std::string long_needle = "\xD1\xA7\xB6\xF8\xCA\xB1\xCF\xB0" + std::string(40, 'n');
  const struct {
    std::string haystack;
    std::string needle;
    std::size_t from;
    std::size_t expected;
  } cases[] = {
      {placed(100, "a", 99), "a", 0, 99},  // the very last byte
      {placed(64, "ab", 62), "ab", 0, 62},
      {placed(64, "ab", 62), "ab", 63, npos},  // too little room left from `from`
      {placed(33, "ab", 15), "ab", 0, 15},     // across a 16-byte step
      {placed(70, "ab", 31), "ab", 0, 31},     // across a 32-byte step
      {placed(70, "ab", 31), "ab", 32, npos},  // `from` past the only find
      {placed(200, "\xD1\xA7\xB6\xF8", 126), "\xD1\xA7\xB6\xF8", 3, 126},
      {placed(200, long_needle, 152), long_needle, 0, 152},  // ends at the last byte
      {placed(200, long_needle, 151), long_needle, 152, npos},
      {std::string(100, 'a'), "aaa", 5, 5},  // overlapping finds: each start counts
      {std::string(100, 'a'), "aaa", 97, 97},
      {std::string(100, 'a'), "aaa", 98, npos},
      // First and last bytes agree, the middle does not, many times over.
      {std::string(90, 'a') + "abba", "abba", 0, 90},
      {std::string(90, 'a'), "aba", 0, npos},
      {"", "a", 0, npos},
      {"abc", "abcd", 0, npos},
      {"abc", "c", 3, npos},
      {"abc", "c", 4, npos},
      {"abc", "", 0, npos},
  };
  for (const auto& c : cases)
    EXPECT_EQ(find_bytes(c.haystack, c.needle, c.from), c.expected)
        << "needle size " << c.needle.size() << " from " << c.from;
}

TEST(FindBytes, AgreesWithStringFindOnRandomBytes) {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int> byte('a', 'c');  // few letters: many near-finds
  for (int round = 0; round < 3000; ++round) {
    std::string haystack(static_cast<std::size_t>(round % 150), ' ');
    for (char& c : haystack) c = static_cast<char>(byte(rng));
    std::string needle(1 + static_cast<std::size_t>(round % 5), ' ');
    for (char& c : needle) c = static_cast<char>(byte(rng));
    const std::size_t from = haystack.empty() ? 0 : rng() % haystack.size();
    const std::size_t expected = std::string_view(haystack).find(needle, from);
    ASSERT_EQ(find_bytes(haystack, needle, from), expected)
        << "in " << haystack << " for " << needle << " from " << from;
  }
}

}  // namespace
}  // namespace vembrel
