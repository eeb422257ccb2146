#pragma once
// The pop-up menu: its twelve items under the top-level item "f", in menu order.

#include <array>
#include <string_view>

namespace vembrel {

enum class MenuCommand {
  CloseMenu,        // only closes the menu
  PhraseLookup,     // a phrase dictionary of the catalogue
  CharacterLookup,  // the character dictionary
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
};

// Caption of the top-level item, the parent of the pop-up items.
inline constexpr std::u16string_view kMenuCaption = u"File";

inline constexpr std::array<MenuItem, 12> kMenuItems{{
    {"qxcd", u"取消菜单", MenuCommand::CloseMenu},
    {"mxhy", u"歇后词典", MenuCommand::PhraseLookup},
    {"mxh", u"新华字典", MenuCommand::CharacterLookup},
    {"mcy", u"成语词典", MenuCommand::PhraseLookup},
    {"mty", u"同义词典", MenuCommand::PhraseLookup},
    {"mfy", u"反义词典", MenuCommand::PhraseLookup},
    {"mwy", u"古文词典", MenuCommand::PhraseLookup},
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
