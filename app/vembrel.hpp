#pragma once
// The program: it brings up the character at start-up, runs the menu's commands and keeps
// the lookup state between them.

#include <string>
#include <string_view>

#include "app/desktop.hpp"
#include "lookup/catalogue.hpp"
#include "lookup/character_host.hpp"
#include "lookup/character_place.hpp"
#include "lookup/input_dialog.hpp"
#include "lookup/lookup_state.hpp"
#include "menu/menu_items.hpp"

namespace vembrel {

// The id the character is loaded under, and its file in the application directory.
inline constexpr std::u16string_view kLoadedCharacterId = u"aaa";
inline constexpr std::string_view kCharacterFile = "\\dh.vr";
inline constexpr std::string_view kHelpFile = "\\使用帮助.txt";

// What the character thinks when a lookup of the selection or the clipboard finds no text.
inline constexpr std::u16string_view kNothingSelectedThought = u"没 有 选 中 的 文 字";
inline constexpr std::u16string_view kClipboardEmptyThought = u"剪 贴 板 里 没 有 文 字";

// The top left corner of the screen the character starts on, in desktop pixels. With several
// monitors the primary one need not be the leftmost: the character goes to its top right.
struct ScreenOrigin {
  int x = 0;
  int y = 0;
};

class Vembrel {
 public:
  Vembrel(CharacterHost& host, InputDialog& dialog, Desktop& desktop, std::string app_dir);

  // Start-up: browsing starts at the first entry; the character is loaded, sized and placed,
  // and the greeting is queued. Fails when the character cannot be loaded.
  LoadStatus start(double screen_width_twips, ScreenOrigin origin = {});
  // Runs the command behind a menu item. A lookup item asks for its search text first.
  void run(const MenuItem& item);
  // Looks `text` up in `dictionary` and announces what was found. An empty text (a cancelled
  // dialog) announces nothing but still empties the phrase result.
  void look_up(const Dictionary& dictionary, std::u16string_view text);
  // A lookup asked for from outside the menu (the command line, the selection). The text is
  // tidied first (tidy_outside_text); with no `dictionary` the program chooses one and names it
  // before the answer. A text without a match, in any dictionary, gets the no-match answer;
  // an empty one gets `empty_thought`.
  void look_up_from_outside(const Dictionary* dictionary, std::u16string_view text,
                            std::u16string_view empty_thought);

  const std::string& app_dir() const { return app_dir_; }
  Character* character() const { return character_; }  // set once the character is loaded
  LookupState& lookup_state() { return lookup_state_; }
  const LookupState& lookup_state() const { return lookup_state_; }

 private:
  LoadStatus bring_up_character(double screen_width_twips, ScreenOrigin origin);
  void open_help();

  CharacterHost& host_;
  InputDialog& dialog_;
  Desktop& desktop_;
  std::string app_dir_;
  Character* character_ = nullptr;
  LookupState lookup_state_;
};

}  // namespace vembrel
