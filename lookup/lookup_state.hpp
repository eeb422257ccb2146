#pragma once
// The lookup state that the main form keeps for the whole life of the process.

#include <array>
#include <cstdint>
#include <string>

#include "lookup/result_list.hpp"

namespace vembrel {

struct LookupState {
  // 0-based row announced last and next; only previous and next change it.
  std::int64_t current_index = 0;
  // Prompt of the next phrase search.
  std::u16string prompt_text;
  // Relative path of the active phrase dictionary, beginning with a backslash.
  std::string data_path;
  // Put directly before each definition row.
  std::u16string result_label;
  // The result: Combo1[0] is the word list, Combo1[1] the definition list.
  std::array<ResultList, 2> Combo1;
};

}  // namespace vembrel
