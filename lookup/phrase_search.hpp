#pragma once
// The phrase search over a phrase dictionary, and the announcement of what it found.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "lookup/catalogue.hpp"
#include "lookup/character_host.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/result_list.hpp"

namespace vembrel {

// One matching line: the text before its first "~" and everything after it.
struct PhraseRow {
  std::u16string head;
  std::u16string tail;
  bool operator==(const PhraseRow&) const = default;
};

// Calls `match` with the GBK bytes of head and tail of every line of a phrase dictionary whose
// head contains `query`, in file order. A line without "~" cannot be matched, so it is skipped;
// an empty query, or one without a GBK form, matches nothing.
void for_each_phrase_match(
    std::string_view data, std::u16string_view query,
    const std::function<void(std::string_view head, std::string_view tail)>& match);

// The same over a file read a block at a time. Should reading fail (see `blocks`), the
// matches reported are incomplete.
void for_each_phrase_match(
    LineBlocks& blocks, std::u16string_view query,
    const std::function<void(std::string_view head, std::string_view tail)>& match);

// What a phrase search found: the rows whose head holds the search text, in file order, or
// why the dictionary could not be searched.
struct PhraseResult {
  ResultList words;        // the heads
  ResultList definitions;  // the tails, each after the dictionary's result label
  std::u16string failure;  // what the character says when the dictionary was not read whole;
                           // the lists are then empty
};

// Searches the phrase dictionary `dictionary` of the application directory `app_dir` for
// `text`. An empty text finds nothing.
PhraseResult search_phrases(const Dictionary& dictionary, std::u16string_view text,
                            const std::string& app_dir);

// Announces a search for `text`: its failure, that nothing was found, or the number of rows
// and then the entry at `index`, which must be a row of the result.
void announce_phrase_result(Character& character, const PhraseResult& result,
                            std::u16string_view text, std::int64_t index);

// Announces the entry at `index` of a result: its number, head and definition.
void announce_phrase_entry(Character& character, const PhraseResult& result, std::int64_t index);

}  // namespace vembrel
