#pragma once
// The phrase search (cz) over a phrase dictionary and the announcement of one entry (xs).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/catalogue.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/lookup_env.hpp"
#include "lookup/lookup_state.hpp"

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

// The matches of for_each_phrase_match as text.
std::vector<PhraseRow> scan_phrases(std::string_view data, std::u16string_view query);

// The straightforward scan that decodes every line; the reference for the fast scan above.
std::vector<PhraseRow> scan_phrases_plain(std::string_view data, std::u16string_view query);

// Selects a phrase dictionary (prompt, path and label) and runs cz.
void phrase_command(LookupState& state, LookupEnv& env, const Dictionary& dictionary);

// Asks for a search text, fills both result lists and announces the count and the entry at
// current_index.
void cz(LookupState& state, LookupEnv& env);

// Announces entry xsjl of the current result: its number, headword and definition.
void xs(LookupState& state, Character& character, std::int64_t xsjl);

}  // namespace vembrel
