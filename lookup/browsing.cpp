#include "lookup/browsing.hpp"

#include <algorithm>

#include "lookup/phrase_search.hpp"

namespace vembrel {
namespace {

void step(LookupState& state, Character& character, std::int64_t delta) {
  const auto n = static_cast<std::int64_t>(state.Combo1[0].count());
  if (n <= 1) return;
  character.Stop();
  state.current_index = std::clamp<std::int64_t>(state.current_index + delta, 0, n - 1);
  xs(state, character, state.current_index);
}

}  // namespace

void ms(LookupState& state, Character& character) {
  step(state, character, -1);
}
void mx(LookupState& state, Character& character) {
  step(state, character, +1);
}

}  // namespace vembrel
