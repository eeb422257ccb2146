#pragma once
// The six dictionaries, in the order the menu lists them.

#include <array>
#include <optional>
#include <string_view>

namespace vembrel {

enum class DictionaryKind { Phrase, Character };

struct Dictionary {
  std::string_view item;        // menu item that opens it
  std::u16string_view caption;  // its menu caption
  DictionaryKind kind;
  std::string_view path;             // relative to the application directory
  std::u16string_view prompt;        // input dialog prompt
  std::u16string_view result_label;  // put before each definition; unused by the character lookup
};

inline constexpr std::array<Dictionary, 6> kDictionaries{{
    {"mxhy", u"歇后词典", DictionaryKind::Phrase, "\\data\\xh.mdb",
     u"请输入要查的歇后语或所含的词:", u"歇后语是:"},
    {"mxh", u"新华字典", DictionaryKind::Character, "\\data\\zd.mdb", u"请输入要查的字:", u""},
    {"mcy", u"成语词典", DictionaryKind::Phrase, "\\data\\cy.mdb", u"请输入要查的成语或所含的词:",
     u""},
    {"mty", u"同义词典", DictionaryKind::Phrase, "\\data\\ty.mdb", u"请输入要查的同义词或所含的词:",
     u"同义词是:"},
    {"mfy", u"反义词典", DictionaryKind::Phrase, "\\data\\fy.mdb", u"请输入要查的反义词或所含的词:",
     u"反义词是:"},
    {"mwy", u"古文词典", DictionaryKind::Phrase, "\\data\\gw.mdb", u"请输入要查的文言文或所含的词:",
     u"古文意思是:"},
}};

// The application title, shown as the input dialog's title.
inline constexpr std::u16string_view kAppTitle = u"Vembrel";

inline const Dictionary* find_dictionary(std::string_view item) {
  for (const Dictionary& d : kDictionaries)
    if (d.item == item) return &d;
  return nullptr;
}

}  // namespace vembrel
