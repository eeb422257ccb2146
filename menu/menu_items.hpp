#pragma once
// The pop-up menu: its twelve items under the top-level item "f", in menu order.

#include <array>
#include <string_view>

#include "lookup/catalogue.hpp"

namespace vembrel {

enum class MenuCommand {
  CloseMenu,     // only closes the menu
  PhraseLookup,  // a phrase dictionary of the catalogue
  HanziLookup,   // the character dictionary
  Previous,
  Next,
  Help,
  Hide,
  Quit,
};

struct MenuItem {
  std::string_view name;
  std::u16string_view caption;
  MenuCommand command;
  const Dictionary* dictionary = nullptr;  // the catalogue row a lookup item opens
};

// A menu item that opens a dictionary: its caption and command come from the catalogue row.
constexpr MenuItem lookup_item(std::string_view name, DictionaryId id) {
  const Dictionary& row = dictionary(id);
  return {name, row.caption,
          row.kind == DictionaryKind::Phrase ? MenuCommand::PhraseLookup : MenuCommand::HanziLookup,
          &row};
}

// The top-level item, the parent of the pop-up items: its name, like the items' names, and
// its caption.
inline constexpr std::string_view kTopMenuName = "f";
inline constexpr std::u16string_view kTopMenuCaption = u"File";

inline constexpr std::array<MenuItem, 12> kMenuItems{{
    {"qxcd", u"取消菜单", MenuCommand::CloseMenu},
    lookup_item("mxhy", DictionaryId::Xiehouyu),
    lookup_item("mxh", DictionaryId::Zidian),
    lookup_item("mcy", DictionaryId::Chengyu),
    lookup_item("mty", DictionaryId::Tongyi),
    lookup_item("mfy", DictionaryId::Fanyi),
    lookup_item("mwy", DictionaryId::Guwen),
    {"ms", u"上一个词", MenuCommand::Previous},
    {"mx", u"下一个词", MenuCommand::Next},
    {"mhelp", u" 帮  助", MenuCommand::Help},
    {"mhide", u" 隐  藏", MenuCommand::Hide},
    {"quit", u"退出Vembrel", MenuCommand::Quit},
}};

inline const MenuItem* find_menu_item(std::string_view name) {
  for (const MenuItem& item : kMenuItems)
    if (item.name == name) return &item;
  return nullptr;
}

}  // namespace vembrel
