// The fast byte scan, of the whole data or of a file read in blocks, must find exactly what
// the scan that decodes every line finds.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "lookup/gbk.hpp"
#include "lookup/phrase_search.hpp"
#include "tests/support/block_scan.hpp"
#include "tests/support/fixtures.hpp"
#include "tests/support/phrase_scans.hpp"

namespace vembrel {
namespace {

using testing::scan_phrases;
using testing::scan_phrases_plain;

// Pieces that trip a byte scan: "~" and letters as second bytes (儈 83 7E, 丄 81 41), lone
// lead bytes, invalid pairs, 0x80 and 0xFF, line ends of every kind.
const std::vector<std::string> kPieces = {
    "~",        "A",        "a",        "\x83\x7E", "\x81\x41", "\xC4\xE3", "\xD6\xAE",
    "\xAE\xD6", "\x81",     "\x81\x30", "\x80",     "\xFF",     "\r",       "\n",
    "\r\n",     "\xB0\xA1", "\xA1\xAB", "~~",       " ",        "\xFE\xFE", "0"};

// Chinese text is almost all lead bytes (81..FE), which the scan reads sixteen at a time:
// long runs of them, odd ones included, with a rare "~", second byte "~" or line end.
const std::vector<std::string> kLeadPieces = {
    "\xB0\xA1", "\xD6\xAE", "\xAE\xD6", "\x81",     "\xFE\xFE", "\xC4\xE3", "\xA1\xAB", "\x83~",
    "\xD6\xAE", "\xB0\xA1", "\xAE\xD6", "\xC4\xE3", "~",        "\r\n",     "A",        "\xFF"};

// The same without CR, for files whose lines end at LF or whose first CR comes late.
const std::vector<std::string> kPiecesWithoutCr = {
    "~",    "A",    "\x83\x7E", "\x81\x41", "\xC4\xE3", "\xD6\xAE", "\x81",
    "\x80", "\xFF", "\n",       "\n",       "\xB0\xA1", "~~",       " "};

std::string random_data(std::mt19937& rng, int pieces,
                        const std::vector<std::string>& from = kPieces) {
  std::uniform_int_distribution<std::size_t> pick(0, from.size() - 1);
  std::string data;
  for (int i = 0; i < pieces; ++i) data += from[pick(rng)];
  return data;
}

void expect_same(std::string_view data, std::u16string_view query) {
  if (!encode_gbk(query)) return;  // a text without GBK form is matched by neither
  ASSERT_EQ(scan_phrases(data, query), scan_phrases_plain(data, query))
      << "data bytes: " << ::testing::PrintToString(std::string(data))
      << " query: " << ::testing::PrintToString(*encode_gbk(query));
}

TEST(ScanDifferential, AgreesOnRandomTrickyBytes) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 3000; ++round) {
    const std::string data = random_data(rng, 4 + round % 60);
    const std::u16string text = decode_gbk(data);
    std::uniform_int_distribution<std::size_t> start(0, text.size());
    for (int q = 0; q < 6; ++q) {
      const std::size_t from = start(rng);
      expect_same(data, text.substr(from, 1 + q % 3));
    }
    expect_same(data, decode_gbk(random_data(rng, 1 + round % 3)));
  }
}

TEST(ScanDifferential, AgreesOnLongRunsOfLeadBytes) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 2000; ++round) {
    const std::string data = random_data(rng, 20 + round % 200, kLeadPieces);
    const std::u16string text = decode_gbk(data);
    std::uniform_int_distribution<std::size_t> start(0, text.size());
    for (int q = 0; q < 6; ++q) expect_same(data, text.substr(start(rng), 1 + q % 4));
  }
}

// Blocks of a few bytes put every kind of line end, a CR LF split between two blocks
// included, on a block edge, and lines run across many blocks.
TEST(ScanDifferential, AFileReadInTinyBlocksAgrees) {
  std::mt19937 rng(20261212);
  testing::TempDir dir;
  const std::string path = (dir.path() / "data.mdb").string();
  std::uniform_int_distribution<std::size_t> block_size(1, 64);
  for (int round = 0; round < 2000; ++round) {
    // Lines ending at LF first; then, in most files, CR and every other line end.
    std::string data = random_data(rng, 2 + round % 30, kPiecesWithoutCr);
    if (round % 4 != 0) data += random_data(rng, round % 40, kPieces);
    dir.write("data.mdb", data);
    const std::u16string text = decode_gbk(data);
    std::uniform_int_distribution<std::size_t> start(0, text.size());
    for (int q = 0; q < 3; ++q) {
      const std::u16string query = text.substr(start(rng), 1 + q % 3);
      if (!encode_gbk(query)) continue;
      const std::size_t size = q == 0 ? 1 + round % 3 : block_size(rng);
      const testing::BlockScan scan = testing::scan_phrases_in_blocks(path, query, size);
      ASSERT_TRUE(scan.read_whole);
      ASSERT_EQ(scan.rows, scan_phrases_plain(data, query))
          << "data bytes: " << ::testing::PrintToString(data)
          << " query: " << ::testing::PrintToString(*encode_gbk(query)) << " block " << size;
    }
  }
}

}  // namespace
}  // namespace vembrel
