#include "lookup/browsing.hpp"

#include <algorithm>

#include "lookup/phrase_search.hpp"

namespace vembrel {
namespace {

void step(LookupState& state, Character& character, std::int64_t delta) {
  const auto rows = static_cast<std::int64_t>(state.result.words.count());
  if (rows <= 1) return;
  character.stop();
  state.current_index = std::clamp<std::int64_t>(state.current_index + delta, 0, rows - 1);
  announce_phrase_entry(character, state.result, state.current_index);
}

}  // namespace

void show_previous_entry(LookupState& state, Character& character) {
  step(state, character, -1);
}
void show_next_entry(LookupState& state, Character& character) {
  step(state, character, +1);
}

}  // namespace vembrel
