#pragma once
// Lookups that name no dictionary (from the command line or the selection): the program
// chooses the dictionary that answers the text.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "lookup/catalogue.hpp"
#include "lookup/hanzi_lookup.hpp"
#include "lookup/phrase_search.hpp"

namespace vembrel {

// The dictionary whose file is data/<code>.mdb ("cy" for the idioms), or none.
const Dictionary* dictionary_by_code(std::string_view code);

// The phrase dictionaries in the order they are tried: the most asked-for first.
inline constexpr std::array<DictionaryId, 5> kPhraseChoiceOrder{
    DictionaryId::Chengyu, DictionaryId::Xiehouyu, DictionaryId::Guwen, DictionaryId::Tongyi,
    DictionaryId::Fanyi};

// What one phrase dictionary has for a text, as far as choosing goes.
enum class PhraseFinding { Nothing, Contains, Equal };

// The dictionary that answers `text`, or nothing when none has it. A single hanzi goes to the
// character dictionary when `hanzi_has_entry` says it has one. Otherwise the phrase
// dictionaries are asked in kPhraseChoiceOrder: the first with a headword equal to the text
// wins, else the first whose headwords contain it. Asks no dictionary after the one that wins
// outright.
std::optional<DictionaryId> choose_dictionary(
    std::u16string_view text, const std::function<bool()>& hanzi_has_entry,
    const std::function<PhraseFinding(DictionaryId)>& phrase_finding);

// Whether a headword of the result equals `text`, or only contains it.
PhraseFinding phrase_finding(const PhraseResult& result, std::u16string_view text);

// A chosen lookup, done: the dictionary (none when nothing was found anywhere) and what it found.
struct ChosenLookup {
  const Dictionary* dictionary = nullptr;
  PhraseResult phrases;    // a phrase dictionary's rows
  HanziResult hanzi;       // the character dictionary's lines
  std::u16string failure;  // nothing found, and a dictionary could not be read: what to say
};

// Chooses as choose_dictionary does, over the dictionaries of `app_dir`, and keeps what the
// winner found so that nothing is searched twice. A dictionary that cannot be read is passed
// over; its failure is told only when no other dictionary has the text.
ChosenLookup look_up_in_chosen_dictionary(std::u16string_view text, const std::string& app_dir);

// The thought that names a chosen dictionary: its caption with blanks between the hanzi,
// spaced as the program's other fixed thoughts ("成 语 词 典").
std::u16string dictionary_name_thought(const Dictionary& dictionary);

// Text from outside the program (a command line, a selection) as it is looked up: without the
// blanks and line breaks around it, and cut to kMaxOutsideText units, as no headword is that
// long (the longest, a classical sentence, has 286) and the count thought repeats the text.
// A surrogate pair is never cut in half.
inline constexpr std::size_t kMaxOutsideText = 300;
std::u16string_view tidy_outside_text(std::u16string_view text);

}  // namespace vembrel
