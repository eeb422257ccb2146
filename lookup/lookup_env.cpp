#include "lookup/lookup_env.hpp"

#include "lookup/text.hpp"

namespace vembrel {

namespace {

constexpr std::u16string_view kChangedWhileRead = u"文件在读取时被改动了，请再查一次";

void announce_unreadable(LookupEnv& env, std::string_view relative_path,
                         std::u16string_view reason) {
  const std::string path = app_file_path(env.app_dir, relative_path);
  env.character.Play(animations::kDecline);
  env.character.Think(
      spaced_text(u"无法读取词典文件 " + utf8_to_utf16(path) + u"：" + std::u16string(reason)));
}

}  // namespace

bool open_or_decline(LookupEnv& env, std::string_view relative_path, DataFile& file) {
  file = read_data_file(app_file_path(env.app_dir, relative_path));
  if (file.ok()) return true;
  announce_unreadable(env, relative_path, file.error);
  return false;
}

bool open_or_decline(LookupEnv& env, std::string_view relative_path, OpenedFile& file) {
  file = open_regular_file(app_file_path(env.app_dir, relative_path));
  if (file.ok()) return true;
  announce_unreadable(env, relative_path, file.error);
  return false;
}

bool intact_or_decline(LookupEnv& env, std::string_view relative_path, const DataFile& file) {
  if (!file.changed_while_read()) return true;
  announce_unreadable(env, relative_path, kChangedWhileRead);
  return false;
}

bool intact_or_decline(LookupEnv& env, std::string_view relative_path, const LineBlocks& blocks) {
  if (blocks.error().empty() && !blocks.changed_while_read()) return true;
  announce_unreadable(env, relative_path,
                      blocks.error().empty() ? kChangedWhileRead : blocks.error());
  return false;
}

}  // namespace vembrel
