#pragma once
// Stepping through a phrase result: previous (ms) and next (mx) entry.

#include "lookup/character_host.hpp"
#include "lookup/lookup_state.hpp"

namespace vembrel {

// Both do nothing at all unless the result has two rows or more; otherwise they cut the
// character short, move current_index by one without wrapping, and announce that entry.
void ms(LookupState& state, Character& character);
void mx(LookupState& state, Character& character);

}  // namespace vembrel
