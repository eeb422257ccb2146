#include "lookup/phrase_search.hpp"

#include <cstring>
#include <optional>

#include "lookup/byte_search.hpp"
#include "lookup/gbk.hpp"
#include "lookup/text.hpp"

namespace vembrel {

std::vector<PhraseRow> scan_phrases_plain(std::string_view data, std::u16string_view query) {
  std::vector<PhraseRow> rows;
  if (query.empty()) return rows;
  LineReader reader(data);
  for (std::string_view bytes; reader.next(bytes);) {
    // Decoding first keeps a "~" that is the second byte of a character inside that character.
    const std::u16string line = decode_gbk(bytes);
    const std::size_t p = line.find(u'~');
    if (p == std::u16string::npos) continue;
    const std::u16string_view head = std::u16string_view(line).substr(0, p);
    if (head.find(query) == std::u16string_view::npos) continue;
    rows.push_back({std::u16string(head), line.substr(p + 1)});
  }
  return rows;
}

void for_each_phrase_match(
    std::string_view data, std::u16string_view query,
    const std::function<void(std::string_view head, std::string_view tail)>& match) {
  // The fast scan works on the raw bytes: it looks for the query's GBK bytes anywhere, then
  // keeps a find only when it starts on a character boundary of its line, before the line's
  // first "~". Only matching lines are decoded.
  if (query.empty() || query.find(u'~') != std::u16string_view::npos) return;
  const std::optional<std::string> needle = encode_gbk(query);
  if (!needle) return;  // a text without GBK form occurs in no data file
  const char terminator = LineReader::line_terminator(data);
  if (needle->find(terminator) != std::string::npos) return;  // no line holds one

  const char* const base = data.data();
  const std::size_t size = data.size();
  std::size_t line_start = 0;  // start of the line the walk is in
  std::size_t walk = 0;        // the next character boundary of that line not yet passed
  bool in_tail = false;        // the walk has passed the line's first "~"
  std::size_t from = 0;
  while (from < size) {
    const std::size_t at = find_bytes(data, *needle, from);
    if (at == std::string_view::npos) break;
    // Start a new walk when the find lies in a later line than the walk.
    const void* last_end = at > walk ? ::memrchr(base + walk, terminator, at - walk) : nullptr;
    if (last_end != nullptr) {
      line_start = static_cast<std::size_t>(static_cast<const char*>(last_end) - base) + 1;
      if (terminator == '\r' && line_start < size && base[line_start] == '\n') ++line_start;
      walk = line_start;
      in_tail = false;
    }
    while (walk < at && !in_tail) {
      if (base[walk] == '~') in_tail = true;
      walk += gbk_char_length(data, walk);
    }
    const void* end_ptr = ::memchr(base + at, terminator, size - at);
    const std::size_t line_end =
        end_ptr ? static_cast<std::size_t>(static_cast<const char*>(end_ptr) - base) : size;
    if (in_tail) {
      from = line_end;  // the rest of this line is tail
      continue;
    }
    if (walk != at) {
      from = at + 1;  // the find starts inside a character
      continue;
    }
    // Matches only count in a line that has a "~" at all.
    std::string_view line = data.substr(line_start, line_end - line_start);
    std::size_t i = walk - line_start;
    bool has_separator = false;
    while (i < line.size() && !(has_separator = line[i] == '~')) i += gbk_char_length(line, i);
    if (has_separator) match(line.substr(0, i), line.substr(i + 1));
    from = line_end;
  }
}

std::vector<PhraseRow> scan_phrases(std::string_view data, std::u16string_view query) {
  std::vector<PhraseRow> rows;
  for_each_phrase_match(data, query, [&rows](std::string_view head, std::string_view tail) {
    rows.push_back({decode_gbk(head), decode_gbk(tail)});
  });
  return rows;
}

void phrase_command(LookupState& state, LookupEnv& env, const Dictionary& dictionary) {
  state.prompt_text = dictionary.prompt;
  state.data_path = dictionary.path;
  state.result_label = dictionary.result_label;
  cz(state, env);
}

void cz(LookupState& state, LookupEnv& env) {
  ResultList& words = state.Combo1[0];
  ResultList& definitions = state.Combo1[1];
  words.clear();
  definitions.clear();

  const std::u16string query = env.dialog.InputBox(state.prompt_text, kAppTitle);
  if (query.empty()) return;

  DataFile file;
  if (!open_or_decline(env, state.data_path, file)) return;
  definitions.setPrefix(state.result_label);
  for_each_phrase_match(file.bytes(), query, [&](std::string_view head, std::string_view tail) {
    words.addGbk(head);
    definitions.addGbk(tail);
  });
  if (!intact_or_decline(env, state.data_path, file)) {
    words.clear();
    definitions.clear();
    return;
  }
  file = DataFile();  // the file is closed when its scan ends

  Character& character = env.character;
  character.Play(animations::kGestureRight);
  const std::size_t n = words.count();
  if (n == 0) {
    character.Play(animations::kDecline);
    character.Play(animations::kDontRecognize);
    character.Think(u"没 有 找 到 哦 !");
    return;
  }
  character.Think(u"共 有 " + decimal(static_cast<std::int64_t>(n)) + u" 条 含 有 “ " + query +
                  u" ” 的 词");
  // A later search may find fewer rows than the position an earlier one was stepped to: the
  // last row is the nearest one that exists.
  const auto last = static_cast<std::int64_t>(n) - 1;
  if (state.current_index > last) state.current_index = last;
  if (state.current_index < 0) state.current_index = 0;
  xs(state, character, state.current_index);
}

void xs(LookupState& state, Character& character, std::int64_t xsjl) {
  character.Play(animations::kGestureRight);
  character.Think(u"第 " + decimal(xsjl + 1) + u"条：");
  for (ResultList& list : state.Combo1) {
    list.select(static_cast<std::size_t>(xsjl));
    const std::u16string& t = list.text();
    if (t.empty()) continue;
    character.Play(animations::kGestureRight);
    character.Think(spaced_text(t));
  }
}

}  // namespace vembrel
