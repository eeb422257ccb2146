#include "lookup/dictionary_file.hpp"

#include "lookup/text.hpp"

namespace vembrel {
namespace {

constexpr std::u16string_view kChangedWhileRead = u"文件在读取时被改动了，请再查一次";

}  // namespace

std::u16string unreadable_dictionary_message(const std::string& path, std::u16string_view reason) {
  return u"无法读取词典文件 " + utf8_to_utf16(path) + u"：" + std::u16string(reason);
}

std::u16string_view read_fault(const DataFile& file) {
  return file.changed_while_read() ? kChangedWhileRead : std::u16string_view();
}

std::u16string_view read_fault(const LineBlocks& blocks) {
  if (!blocks.error().empty()) return blocks.error();
  return blocks.changed_while_read() ? kChangedWhileRead : std::u16string_view();
}

void announce_failure(Character& character, std::u16string_view message) {
  character.play(animations::kDecline);
  character.think(spaced_text(message));
}

}  // namespace vembrel
