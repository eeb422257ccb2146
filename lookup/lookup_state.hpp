#pragma once
// What the program keeps from one lookup to the next: the phrase result being browsed and
// where browsing is in it.

#include <cstdint>
#include <string>
#include <string_view>

#include "lookup/catalogue.hpp"
#include "lookup/phrase_search.hpp"

namespace vembrel {

struct LookupState {
  // The 0-based entry announced last and next.
  std::int64_t current_index = 0;
  // The result of the last phrase search; a cancelled search or a hanzi lookup empties it.
  PhraseResult result;
  // The dictionary and text of the last phrase search with a text.
  const Dictionary* searched_dictionary = nullptr;
  std::u16string searched_text;
};

// Keeps the result of searching `text` (not empty) in `dictionary` and sets the entry to
// announce first. A search that differs from the last one in its dictionary or its text
// starts at the first entry. Repeating the last search keeps the position browsing left,
// brought onto the last row should the result have become smaller.
void keep_phrase_result(LookupState& state, const Dictionary& dictionary, std::u16string_view text,
                        PhraseResult result);

}  // namespace vembrel
