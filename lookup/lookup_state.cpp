#include "lookup/lookup_state.hpp"

#include <algorithm>

namespace vembrel {

void keep_phrase_result(LookupState& state, const Dictionary& dictionary, std::u16string_view text,
                        PhraseResult result) {
  if (state.searched_dictionary != &dictionary || state.searched_text != text) {
    state.current_index = 0;
    state.searched_dictionary = &dictionary;
    state.searched_text = text;
  }
  state.result = std::move(result);
  const auto rows = static_cast<std::int64_t>(state.result.words.count());
  if (rows > 0) state.current_index = std::clamp<std::int64_t>(state.current_index, 0, rows - 1);
}

}  // namespace vembrel
