#include "lookup/dictionary_choice.hpp"

#include <utility>

#include "lookup/text.hpp"

namespace vembrel {

const Dictionary* dictionary_by_code(std::string_view code) {
  constexpr std::string_view kFolder = "\\data\\";
  constexpr std::string_view kSuffix = ".mdb";
  if (code.empty()) return nullptr;
  for (const Dictionary& row : kDictionaries) {
    std::string_view path = row.path;
    if (path.size() == kFolder.size() + code.size() + kSuffix.size() &&
        path.substr(0, kFolder.size()) == kFolder &&
        path.substr(kFolder.size(), code.size()) == code && path.ends_with(kSuffix))
      return &row;
  }
  return nullptr;
}

std::optional<DictionaryId> choose_dictionary(
    std::u16string_view text, const std::function<bool()>& hanzi_has_entry,
    const std::function<PhraseFinding(DictionaryId)>& phrase_finding) {
  if (text.empty()) return std::nullopt;
  // The character dictionary is keyed by one unit: nothing longer can have an entry there.
  if (text.size() == 1 && hanzi_has_entry()) return DictionaryId::Zidian;
  std::optional<DictionaryId> first_containing;
  for (const DictionaryId id : kPhraseChoiceOrder) {
    const PhraseFinding finding = phrase_finding(id);
    if (finding == PhraseFinding::Equal) return id;
    if (finding == PhraseFinding::Contains && !first_containing) first_containing = id;
  }
  return first_containing;
}

PhraseFinding phrase_finding(const PhraseResult& result, std::u16string_view text) {
  const std::size_t rows = result.words.count();
  if (rows == 0) return PhraseFinding::Nothing;
  for (std::size_t i = 0; i < rows; ++i)
    if (result.words.row(i) == text) return PhraseFinding::Equal;
  return PhraseFinding::Contains;
}

ChosenLookup look_up_in_chosen_dictionary(std::u16string_view text, const std::string& app_dir) {
  ChosenLookup chosen;
  // Each search is kept until the choice is made: the winner is announced from its result.
  HanziResult hanzi;
  PhraseResult first_containing;
  PhraseResult last;
  std::optional<DictionaryId> containing_id;
  const auto hanzi_has_entry = [&] {
    hanzi = look_up_hanzi(dictionary(DictionaryId::Zidian), text, app_dir);
    if (!hanzi.failure.empty() && chosen.failure.empty()) chosen.failure = hanzi.failure;
    return !hanzi.lines.empty();
  };
  const auto finding_of = [&](DictionaryId id) {
    last = search_phrases(dictionary(id), text, app_dir);
    if (!last.failure.empty() && chosen.failure.empty()) chosen.failure = last.failure;
    const PhraseFinding finding = phrase_finding(last, text);
    if (finding == PhraseFinding::Contains && !containing_id) {
      containing_id = id;
      first_containing = std::move(last);
    }
    return finding;
  };
  const std::optional<DictionaryId> id = choose_dictionary(text, hanzi_has_entry, finding_of);
  if (!id) return chosen;
  chosen.failure.clear();
  chosen.dictionary = &dictionary(*id);
  if (*id == DictionaryId::Zidian)
    chosen.hanzi = std::move(hanzi);
  else
    chosen.phrases = std::move(*id == containing_id ? first_containing : last);
  return chosen;
}

std::u16string dictionary_name_thought(const Dictionary& dictionary) {
  std::u16string thought = spaced_text(dictionary.caption);
  if (!thought.empty()) thought.pop_back();  // no blank after the last hanzi
  return thought;
}

std::u16string_view tidy_outside_text(std::u16string_view text) {
  text = trim_blanks(text);
  if (text.size() > kMaxOutsideText) {
    std::size_t cut = kMaxOutsideText;
    const char16_t last = text[cut - 1];
    if (last >= 0xD800 && last <= 0xDBFF) --cut;  // the high half of a pair stays with its low
    text = trim_blanks(text.substr(0, cut));
  }
  return text;
}

}  // namespace vembrel
