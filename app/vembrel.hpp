#pragma once
// The main form: it owns the lookup state and the result lists, brings up the character at
// start-up (ddh), and runs the menu's commands. It is never shown.

#include <string>

#include "app/desktop.hpp"
#include "lookup/character_host.hpp"
#include "lookup/input_dialog.hpp"
#include "lookup/lookup_state.hpp"
#include "menu/menu_items.hpp"

namespace vembrel {

// The id the character is loaded under, and its file in the application directory.
inline constexpr std::u16string_view kCharacterId = u"aaa";
inline constexpr std::string_view kCharacterFile = "\\dh.vr";
inline constexpr std::string_view kHelpFile = "\\使用帮助.txt";

// Left edge of the character for a screen `twips` wide: 15 twips per pixel are assumed, and the
// result is rounded to the nearest integer, halves to even, within 16 bits.
int character_x(double screen_width_twips);

// The top left corner of the screen the character starts on, in desktop pixels. With several
// monitors the primary one need not be the leftmost: the character goes to its top right.
struct ScreenOrigin {
  int x = 0;
  int y = 0;
};

class Vembrel : public LookupState {
 public:
  Vembrel(CharacterHost& agent, InputDialog& dialog, Desktop& desktop, std::string app_dir);

  // The form's load: current_index = 0, then ddh. Fails when the character cannot be loaded.
  LoadStatus Form_Load(double screen_width_twips, ScreenOrigin origin = {});
  // Loads, sizes and places the character and queues the greeting.
  LoadStatus ddh(double screen_width_twips, ScreenOrigin origin = {});
  // Runs the command behind a menu item.
  void run(const MenuItem& item);

  const std::string& app_dir() const { return app_dir_; }

  CharacterHost& Agent1;           // the host control
  Character* character = nullptr;  // the loaded character, set once at start-up

 private:
  void help();

  InputDialog& dialog_;
  Desktop& desktop_;
  std::string app_dir_;
};

}  // namespace vembrel
