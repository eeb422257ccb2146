#pragma once
// The hanzi lookup: one Chinese character looked up in the character dictionary (zd.mdb).

#include <string>
#include <string_view>
#include <vector>

#include "lookup/catalogue.hpp"
#include "lookup/character_host.hpp"

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

// What a hanzi lookup found: the lines to announce, or why the dictionary could not be read.
struct HanziResult {
  std::vector<HanziLine> lines;
  std::u16string failure;  // what the character says when the dictionary was not read whole
};

// Looks `text` up in the character dictionary `dictionary` of the application directory
// `app_dir`.
HanziResult look_up_hanzi(const Dictionary& dictionary, std::u16string_view text,
                          const std::string& app_dir);

// Announces the lines found, one after another, or the failure. Nothing found says nothing.
void announce_hanzi_result(Character& character, const HanziResult& result);

}  // namespace vembrel
