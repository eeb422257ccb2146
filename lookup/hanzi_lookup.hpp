#pragma once
// The hanzi lookup: one Chinese character looked up in the character dictionary (zd.mdb).

#include <string>
#include <string_view>
#include <vector>

#include "lookup/lookup_env.hpp"
#include "lookup/lookup_state.hpp"

namespace vembrel {

// One text the character announces: an entry's header (without its "~") or a definition line.
struct HanziLine {
  bool header = false;
  std::u16string text;
  bool operator==(const HanziLine&) const = default;
};

// At most ten definition lines are announced per header.
inline constexpr int kMaxDefinitionLines = 10;

// What a lookup of `query` announces, in order. Only a one-unit query can match a header. The
// lookup ends at end of data, or at a header met while reading an entry's definition lines.
std::vector<HanziLine> scan_hanzi(std::string_view data, std::u16string_view query);

// Empties both result lists, asks for a hanzi and announces its entries.
void hanzi_lookup(LookupState& state, LookupEnv& env);

}  // namespace vembrel
