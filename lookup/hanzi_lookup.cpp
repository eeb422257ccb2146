#include "lookup/hanzi_lookup.hpp"

#include "lookup/data_file.hpp"
#include "lookup/dictionary_file.hpp"
#include "lookup/entry_limit.hpp"
#include "lookup/gbk.hpp"
#include "lookup/text.hpp"

namespace vembrel {
namespace {

bool starts_with_tilde(std::string_view line) {
  return !line.empty() && line.front() == '~';
}

std::u16string decode_entry(std::string_view line) {
  const std::string_view kept = clip_entry(line);
  std::u16string text = decode_gbk(kept);
  if (kept.size() < line.size()) text += kCutMark;
  return text;
}

}  // namespace

std::vector<HanziLine> scan_hanzi(std::string_view data, std::u16string_view query) {
  std::vector<HanziLine> out;
  if (query.size() != 1) return out;
  // A text without GBK form, such as U+FFFD from bad input, would otherwise find the headers
  // whose own bytes are broken and decode to U+FFFD.
  if (!encode_gbk(query)) return out;
  LineReader reader(data);
  for (std::string_view line; reader.next(line);) {
    // A line's first byte is always a character of its own, so a "~" there is a real one.
    if (!starts_with_tilde(line)) continue;
    std::u16string header = decode_entry(line);
    if (header.size() < 2 || header[1] != query[0]) continue;
    out.push_back({true, header.substr(1)});
    int announced = 0;
    for (; announced < kMaxDefinitionLines; ++announced) {
      std::string_view definition;
      if (!reader.next(definition) || starts_with_tilde(definition)) return out;
      out.push_back({false, decode_entry(definition)});
    }
  }
  return out;
}

HanziResult look_up_hanzi(const Dictionary& dictionary, std::u16string_view text,
                          const std::string& app_dir) {
  HanziResult result;
  if (text.empty()) return result;
  const std::string path = app_file_path(app_dir, dictionary.path);
  const DataFile file = read_data_file(path);
  if (!file.ok()) {
    result.failure = unreadable_dictionary_message(path, file.error);
    return result;
  }
  result.lines = scan_hanzi(file.bytes(), text);
  if (const std::u16string_view fault = read_fault(file); !fault.empty()) {
    result.lines.clear();
    result.failure = unreadable_dictionary_message(path, fault);
  }
  return result;
}

void announce_hanzi_result(Character& character, const HanziResult& result) {
  if (!result.failure.empty()) {
    announce_failure(character, result.failure);
    return;
  }
  for (const HanziLine& line : result.lines) {
    character.play(animations::kGestureRight);
    character.think(spaced_text(line.text));
  }
}

}  // namespace vembrel
