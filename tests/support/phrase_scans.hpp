#pragma once
// Phrase scans as rows of text, for the tests and the fuzzers: the fast scan the program
// uses, and the straightforward one that decodes every line, which is its reference.

#include <string>
#include <string_view>
#include <vector>

#include "lookup/data_file.hpp"
#include "lookup/gbk.hpp"
#include "lookup/phrase_search.hpp"

namespace vembrel::testing {

// The matches of for_each_phrase_match as text.
inline std::vector<PhraseRow> scan_phrases(std::string_view data, std::u16string_view query) {
  std::vector<PhraseRow> rows;
  for_each_phrase_match(data, query, [&rows](std::string_view head, std::string_view tail) {
    rows.push_back({decode_gbk(head), decode_gbk(tail)});
  });
  return rows;
}

// Every line decoded, then split at its first "~" and matched as text.
inline std::vector<PhraseRow> scan_phrases_plain(std::string_view data, std::u16string_view query) {
  std::vector<PhraseRow> rows;
  if (query.empty()) return rows;
  LineReader reader(data);
  for (std::string_view bytes; reader.next(bytes);) {
    // Decoding first keeps a "~" that is the second byte of a character inside that character.
    const std::u16string line = decode_gbk(bytes);
    const std::size_t separator = line.find(u'~');
    if (separator == std::u16string::npos) continue;
    const std::u16string_view head = std::u16string_view(line).substr(0, separator);
    if (head.find(query) == std::u16string_view::npos) continue;
    rows.push_back({std::u16string(head), line.substr(separator + 1)});
  }
  return rows;
}

}  // namespace vembrel::testing
