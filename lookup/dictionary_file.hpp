#pragma once
// Reading a dictionary file for a lookup. A file that cannot be read whole makes the lookup
// fail with what the character says (which file and why) instead of a result: nothing is
// lost and later lookups keep working.

#include <string>
#include <string_view>

#include "lookup/character_host.hpp"
#include "lookup/data_file.hpp"
#include "lookup/line_blocks.hpp"

namespace vembrel {

// What the character says when the dictionary file at `path` cannot be read for `reason`.
std::u16string unreadable_dictionary_message(const std::string& path, std::u16string_view reason);

// Why a file that was read cannot be trusted, or the empty text when it can: one cut short
// or changed while it was read is never presented as the whole file.
std::u16string_view read_fault(const DataFile& file);
// The same after reading blocks, where a read can also fail half way.
std::u16string_view read_fault(const LineBlocks& blocks);

// The character declines and says `message`.
void announce_failure(Character& character, std::u16string_view message);

}  // namespace vembrel
