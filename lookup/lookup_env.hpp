#pragma once
// What a lookup command works with besides the lookup state: the character that announces,
// the input dialog, and the application directory the data files live in.

#include <string>
#include <string_view>

#include "lookup/character_host.hpp"
#include "lookup/data_file.hpp"
#include "lookup/input_dialog.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/regular_file.hpp"

namespace vembrel {

struct LookupEnv {
  Character& character;
  InputDialog& dialog;
  std::string app_dir;
};

// Reads a dictionary file. When it cannot be read the character declines and says which file
// and why, and the caller returns with an empty result: nothing is lost and later commands
// keep working.
bool open_or_decline(LookupEnv& env, std::string_view relative_path, DataFile& file);
bool open_or_decline(LookupEnv& env, std::string_view relative_path, OpenedFile& file);

// After a scan: false, announced like an unreadable file, when the file was cut short while
// it was being read, so a half-read result is never presented as the whole one.
bool intact_or_decline(LookupEnv& env, std::string_view relative_path, const DataFile& file);
// The same after reading blocks, which also declines when a read failed.
bool intact_or_decline(LookupEnv& env, std::string_view relative_path, const LineBlocks& blocks);

}  // namespace vembrel
