#include "lookup/lookup_env.hpp"

#include "lookup/text.hpp"

namespace vembrel {

bool open_dictionary(LookupEnv& env, std::string_view relative_path, DataFile& file) {
  const std::string path = app_file_path(env.app_dir, relative_path);
  file = read_data_file(path);
  if (file.ok()) return true;
  env.character.Play("decline");
  env.character.Think(
      spaced_text(u"无法读取词典文件 " + utf8_to_utf16(path) + u"：" + file.error));
  return false;
}

}  // namespace vembrel
