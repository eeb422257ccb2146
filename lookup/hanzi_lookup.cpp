#include "lookup/hanzi_lookup.hpp"

#include "lookup/catalogue.hpp"
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

void hanzi_lookup(LookupState& state, LookupEnv& env) {
  state.Combo1[0].clear();
  state.Combo1[1].clear();
  const Dictionary& zd = dictionary(DictionaryId::Zidian);
  const std::u16string query = env.dialog.InputBox(zd.prompt, kAppTitle);
  if (query.empty()) return;

  DataFile file;
  if (!open_or_decline(env, zd.path, file)) return;
  std::vector<HanziLine> lines = scan_hanzi(file.bytes(), query);
  if (!intact_or_decline(env, zd.path, file)) return;
  file = DataFile();  // the file is closed when its scan ends
  for (HanziLine& line : lines) {
    env.character.Play("gestureright");
    // The word list's text holds the header being announced; the lists get no rows.
    if (line.header) state.Combo1[0].setText(line.text);
    env.character.Think(spaced_text(line.text));
  }
}

}  // namespace vembrel
