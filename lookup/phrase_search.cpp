#include "lookup/phrase_search.hpp"

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

std::vector<PhraseRow> scan_phrases(std::string_view data, std::u16string_view query) {
  return scan_phrases_plain(data, query);
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
  if (!open_dictionary(env, state.data_path, file)) return;
  for (PhraseRow& row : scan_phrases(file.bytes, query)) {
    words.add(std::move(row.head));
    definitions.add(state.result_label + row.tail);
  }
  file = DataFile();  // the file's bytes are not needed past the scan

  Character& character = env.character;
  character.Play("gestureright");
  const std::size_t n = words.count();
  if (n == 0) {
    character.Play("decline");
    character.Play("dontrecognize");
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
  character.Play("gestureright");
  character.Think(u"第 " + decimal(xsjl + 1) + u"条：");
  for (ResultList& list : state.Combo1) {
    list.select(static_cast<std::size_t>(xsjl));
    const std::u16string& t = list.text();
    if (t.empty()) continue;
    character.Play("gestureright");
    character.Think(spaced_text(t));
  }
}

}  // namespace vembrel
