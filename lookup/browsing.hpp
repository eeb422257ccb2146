#pragma once
// Stepping through a phrase result: the previous and the next entry.

#include "lookup/character_host.hpp"
#include "lookup/lookup_state.hpp"

namespace vembrel {

// Both do nothing at all unless the result has two rows or more; otherwise they cut the
// character short, move current_index by one without wrapping, and announce that entry.
void show_previous_entry(LookupState& state, Character& character);
void show_next_entry(LookupState& state, Character& character);

}  // namespace vembrel
