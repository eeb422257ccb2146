#pragma once
// What a lookup command works with besides the lookup state: the character that announces,
// the input dialog, and the application directory the data files live in.

#include <string>
#include <string_view>

#include "host/character_host.hpp"
#include "lookup/data_file.hpp"
#include "lookup/input_dialog.hpp"

namespace vembrel {

struct LookupEnv {
  Character& character;
  InputDialog& dialog;
  std::string app_dir;
};

// Reads a dictionary file. When it cannot be read the character declines and says which file
// and why, and the caller returns with an empty result: nothing is lost and later commands
// keep working.
bool open_dictionary(LookupEnv& env, std::string_view relative_path, DataFile& file);

}  // namespace vembrel
