#pragma once
// One line of the console front end: a menu item's name, optionally followed by one blank and
// the text typed into the input dialog.

#include <optional>
#include <string>
#include <string_view>

#include "menu/menu_items.hpp"

namespace vembrel {

struct CommandLine {
  const MenuItem* item = nullptr;  // nullptr for a line to ignore (an empty one)
  std::u16string typed;            // everything after the first blank; empty means Cancel
  std::string error;               // set for an unknown item; the line is skipped
};

// A trailing CR is dropped, so files with CR LF line ends work too.
CommandLine parse_command_line(std::string_view line);

}  // namespace vembrel
