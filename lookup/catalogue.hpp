#pragma once
// The six dictionaries, in the order the menu lists them. The menu names its rows through
// DictionaryId, so every caption, prompt and path is written here once.

#include <array>
#include <cstddef>
#include <string_view>

namespace vembrel {

// Hanzi: one Chinese character is looked up. The word is kept apart from "character", which
// in this program means the animated character that announces the results.
enum class DictionaryKind { Phrase, Hanzi };

// One row of the catalogue each, in menu order.
enum class DictionaryId { Xiehouyu, Zidian, Chengyu, Tongyi, Fanyi, Guwen, Count };

struct Dictionary {
  std::u16string_view caption;  // its menu caption
  DictionaryKind kind;
  std::string_view path;             // relative to the application directory
  std::u16string_view prompt;        // input dialog prompt
  std::u16string_view result_label;  // put before each definition; unused by the character lookup
};

inline constexpr std::array<Dictionary, static_cast<std::size_t>(DictionaryId::Count)>
    kDictionaries{{
        {u"歇后词典", DictionaryKind::Phrase, "\\data\\xh.mdb", u"请输入要查的歇后语或所含的词:",
         u"歇后语是:"},
        {u"新华字典", DictionaryKind::Hanzi, "\\data\\zd.mdb", u"请输入要查的字:", u""},
        {u"成语词典", DictionaryKind::Phrase, "\\data\\cy.mdb", u"请输入要查的成语或所含的词:",
         u""},
        {u"同义词典", DictionaryKind::Phrase, "\\data\\ty.mdb", u"请输入要查的同义词或所含的词:",
         u"同义词是:"},
        {u"反义词典", DictionaryKind::Phrase, "\\data\\fy.mdb", u"请输入要查的反义词或所含的词:",
         u"反义词是:"},
        {u"古文词典", DictionaryKind::Phrase, "\\data\\gw.mdb", u"请输入要查的文言文或所含的词:",
         u"古文意思是:"},
    }};

constexpr const Dictionary& dictionary(DictionaryId id) {
  return kDictionaries[static_cast<std::size_t>(id)];
}

// The application title, shown as the input dialog's title.
inline constexpr std::u16string_view kAppTitle = u"Vembrel";

}  // namespace vembrel
