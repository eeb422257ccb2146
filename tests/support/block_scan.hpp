#pragma once
// A phrase lookup in a file read in blocks of a given size, its rows as text: what the tests
// and the fuzzer compare with the scan of the whole data.

#include <string>
#include <vector>

#include "lookup/gbk.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/phrase_search.hpp"

namespace vembrel::testing {

struct BlockScan {
  std::vector<PhraseRow> rows;
  bool read_whole = false;  // the file opened and was read to its end without a fault
};

inline BlockScan scan_phrases_in_blocks(const std::string& path, std::u16string_view query,
                                        std::size_t block_size) {
  BlockScan scan;
  const OpenedFile file = open_regular_file(path);
  if (!file.ok()) return scan;
  LineBlocks blocks(file, block_size);
  for_each_phrase_match(blocks, query, [&scan](std::string_view head, std::string_view tail) {
    scan.rows.push_back({decode_gbk(head), decode_gbk(tail)});
  });
  scan.read_whole = !blocks.changed_while_read() && blocks.error().empty();
  return scan;
}

}  // namespace vembrel::testing
