// On every shipped dictionary the fast byte scan finds exactly what decoding every line finds.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "lookup/data_file.hpp"
#include "lookup/gbk.hpp"
#include "lookup/phrase_search.hpp"
#include "tests/support/phrase_scans.hpp"

namespace vembrel {
namespace {

using testing::scan_phrases;
using testing::scan_phrases_plain;

// Every character that occurs in a shipped dictionary's heads, plus random pieces of heads.
TEST(ScanDifferential, AgreesOnTheShippedDictionaries) {
  const std::filesystem::path dir = VEMBREL_SOURCE_DATA_DIR;
  std::mt19937 rng(7);
  for (const char* name : {"xh.mdb", "cy.mdb", "ty.mdb", "fy.mdb", "gw.mdb"}) {
    const DataFile file = read_data_file((dir / name).string());
    ASSERT_TRUE(file.ok()) << name;
    // The reference for single characters, decoding every line once: each character of a head
    // finds that line once.
    std::map<char16_t, std::vector<PhraseRow>> by_character;
    std::vector<std::u16string> heads;
    LineReader reader(file.bytes());
    for (std::string_view bytes; reader.next(bytes);) {
      const std::u16string line = decode_gbk(bytes);
      const std::size_t p = line.find(u'~');
      if (p == std::u16string::npos || p == 0) continue;
      const std::u16string head = line.substr(0, p);
      const std::set<char16_t> seen(head.begin(), head.end());
      for (char16_t c : seen) by_character[c].push_back({head, line.substr(p + 1)});
      heads.push_back(head);
    }
    for (const auto& [c, rows] : by_character) {
      const std::u16string query(1, c);
      ASSERT_EQ(scan_phrases(file.bytes(), query), rows) << name << " U+" << std::hex << int(c);
    }
    std::uniform_int_distribution<std::size_t> pick(0, heads.size() - 1);
    for (int q = 0; q < 60; ++q) {
      const std::u16string& head = heads[pick(rng)];
      const std::size_t from = std::uniform_int_distribution<std::size_t>(0, head.size() - 1)(rng);
      const std::u16string query = head.substr(from, 2 + q % 4);
      ASSERT_EQ(scan_phrases(file.bytes(), query), scan_phrases_plain(file.bytes(), query)) << name;
    }
  }
}

}  // namespace
}  // namespace vembrel
