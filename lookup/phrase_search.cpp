#include "lookup/phrase_search.hpp"

#include <cstring>
#include <optional>

#include "lookup/byte_search.hpp"
#include "lookup/data_file.hpp"
#include "lookup/dictionary_file.hpp"
#include "lookup/gbk.hpp"
#include "lookup/gbk_boundary.hpp"
#include "lookup/line_blocks.hpp"
#include "lookup/regular_file.hpp"
#include "lookup/text.hpp"

namespace vembrel {

namespace {

// A line of data with a find in it.
struct FoundLine {
  std::size_t start = 0;
  std::size_t head_end = 0;    // its first "~", or end when it has none
  std::size_t pairs_from = 0;  // the lead bytes [pairs_from, head_end) are pairs
  std::size_t end = 0;         // its terminator, or the end of the data
};

// Sets the line's head_end and pairs_from. A "~" byte that is the second byte of a character
// is no separator.
void find_separator(const unsigned char* bytes, FoundLine& line) {
  std::size_t known = line.start;  // a character starts here; the search goes on from here
  while (known < line.end) {
    const void* found = std::memchr(bytes + known, '~', line.end - known);
    if (found == nullptr) break;
    const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes);
    const std::size_t run_start = gbk_lead_run_start(bytes, known, at);
    if (gbk_starts_character(bytes, run_start, at)) {
      line.head_end = at;
      line.pairs_from = run_start;
      return;
    }
    known = at + 1;  // the "~" ended a character
  }
  line.head_end = line.pairs_from = line.end;
}

using MatchFn = std::function<void(std::string_view head, std::string_view tail)>;

// The query's GBK bytes, or nothing when no line can hold the query.
std::optional<std::string> phrase_needle(std::u16string_view query) {
  if (query.empty() || query.find(u'~') != std::u16string_view::npos) return std::nullopt;
  return encode_gbk(query);  // a text without GBK form occurs in no data file
}

// The fast scan works on the raw bytes: it looks for the needle anywhere, then keeps a find
// only when it lies before its line's first "~" and starts on a character boundary (see
// gbk_boundary.hpp). Only lines with a find are looked at more closely, and each of their
// bytes only a few times, so the work stays linear. `data` holds whole lines ending at
// `terminator`.
void match_lines(std::string_view data, char terminator, std::string_view needle,
                 const MatchFn& match) {
  if (needle.find(terminator) != std::string_view::npos) return;  // no line holds one

  const auto* const bytes = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t size = data.size();
  const auto offset = [bytes](const void* pointer) {
    return static_cast<std::size_t>(static_cast<const unsigned char*>(pointer) - bytes);
  };
  FoundLine line;         // the line of the last find
  bool in_line = false;   // whether there was one
  std::size_t known = 0;  // a character of that line starts here, before every find left in it
  std::size_t from = 0;
  while (from < size) {
    const std::size_t at = find_bytes(data, needle, from);
    if (at == std::string_view::npos) break;
    if (!in_line || at >= line.end) {
      const std::size_t after = in_line ? line.end : 0;  // the last line's terminator
      const void* last_end = ::memrchr(bytes + after, terminator, at - after);
      line.start = last_end == nullptr ? after : offset(last_end) + 1;
      if (last_end != nullptr && terminator == '\r' && line.start < size &&
          bytes[line.start] == '\n')
        ++line.start;
      const void* end = std::memchr(bytes + at, terminator, size - at);
      line.end = end == nullptr ? size : offset(end);
      find_separator(bytes, line);
      known = line.start;
      in_line = true;
    }
    if (at < line.start) {  // the LF of a CR LF belongs to no line
      from = at + 1;
      continue;
    }
    if (line.head_end == line.end || at >= line.head_end) {  // no "~", or the find is in the tail
      from = line.end;
      continue;
    }
    const std::size_t run_start =
        at >= line.pairs_from ? line.pairs_from : gbk_lead_run_start(bytes, known, at);
    if (!gbk_starts_character(bytes, run_start, at)) {
      known = at + 1;  // `at` is the second byte of a character
      from = at + 1;
      continue;
    }
    // A find on a boundary holds the query's whole characters, so it cannot reach past the
    // separator.
    match(data.substr(line.start, line.head_end - line.start),
          data.substr(line.head_end + 1, line.end - line.head_end - 1));
    from = line.end;
  }
}

}  // namespace

void for_each_phrase_match(std::string_view data, std::u16string_view query, const MatchFn& match) {
  const std::optional<std::string> needle = phrase_needle(query);
  if (needle) match_lines(data, LineReader::line_terminator(data), *needle, match);
}

void for_each_phrase_match(LineBlocks& blocks, std::u16string_view query, const MatchFn& match) {
  const std::optional<std::string> needle = phrase_needle(query);
  if (!needle) return;
  for (std::string_view lines; blocks.next(lines);)
    match_lines(lines, blocks.terminator(), *needle, match);
}

PhraseResult search_phrases(const Dictionary& dictionary, std::u16string_view text,
                            const std::string& app_dir) {
  PhraseResult result;
  if (text.empty()) return result;
  const std::string path = app_file_path(app_dir, dictionary.path);
  const OpenedFile file = open_regular_file(path);
  if (!file.ok()) {
    result.failure = unreadable_dictionary_message(path, file.error);
    return result;
  }
  result.definitions.set_prefix(std::u16string(dictionary.result_label));
  LineBlocks blocks(file);
  for_each_phrase_match(blocks, text, [&result](std::string_view head, std::string_view tail) {
    result.words.add_gbk(head);
    result.definitions.add_gbk(tail);
  });
  if (const std::u16string_view fault = read_fault(blocks); !fault.empty()) {
    result = PhraseResult();
    result.failure = unreadable_dictionary_message(path, fault);
  }
  return result;  // the file is closed when its scan ends
}

void announce_phrase_result(Character& character, const PhraseResult& result,
                            std::u16string_view text, std::int64_t index) {
  if (!result.failure.empty()) {
    announce_failure(character, result.failure);
    return;
  }
  character.play(animations::kGestureRight);
  const std::size_t count = result.words.count();
  if (count == 0) {
    character.play(animations::kDecline);
    character.play(animations::kDontRecognize);
    character.think(u"没 有 找 到 哦 !");
    return;
  }
  character.think(u"共 有 " + decimal(static_cast<std::int64_t>(count)) + u" 条 含 有 “ " +
                  std::u16string(text) + u" ” 的 词");
  announce_phrase_entry(character, result, index);
}

void announce_phrase_entry(Character& character, const PhraseResult& result, std::int64_t index) {
  character.play(animations::kGestureRight);
  character.think(u"第 " + decimal(index + 1) + u"条：");
  const auto row = static_cast<std::size_t>(index);
  for (const ResultList* list : {&result.words, &result.definitions}) {
    if (row >= list->count()) continue;
    const std::u16string text = list->row(row);
    if (text.empty()) continue;  // an idiom without definition
    character.play(animations::kGestureRight);
    character.think(spaced_text(text));
  }
}

}  // namespace vembrel
