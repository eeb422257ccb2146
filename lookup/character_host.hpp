#pragma once
// The character host: the component that loads, draws, animates and queues the character.
// The program only ever talks to a host through these two interfaces, so the same logic
// drives the Qt window, the console front end and the recording host used by the tests.

#include <cstdint>
#include <functional>
#include <string>

#include "lookup/animations.hpp"  // the names play() is given

namespace vembrel {

// Arguments of a double-click on the character.
struct DoubleClickEvent {
  std::u16string character_id;
  int button = 1;
  int shift = 0;
  int x = 0;
  int y = 0;
};

// One loaded character. move_to, show, hide, play and think are queued and carried out one
// after another in call order; each returns at once. stop ends the current action and drops
// every queued one. Setting a property takes effect at once.
class Character {
 public:
  virtual ~Character() = default;
  virtual void set_height(int pixels) = 0;
  virtual void set_width(int pixels) = 0;
  virtual void move_to(int x, int y) = 0;
  virtual void set_name(const std::u16string& name) = 0;
  virtual void show() = 0;
  virtual void hide() = 0;
  virtual void play(const std::string& animation) = 0;
  virtual void think(const std::u16string& text) = 0;
  virtual void set_auto_popup_menu(bool on) = 0;
  virtual void stop() = 0;
};

// What Characters.Load reports: an empty error means the character is available at once.
struct LoadStatus {
  std::string error;
  bool ok() const { return error.empty(); }
};

// The host control: its character collection and its double-click event.
class CharacterHost {
 public:
  using DoubleClickHandler = std::function<void(const DoubleClickEvent&)>;
  virtual ~CharacterHost() = default;
  // Loads the character file at `path` under `id`; finished when it returns.
  virtual LoadStatus load(const std::u16string& id, const std::string& path) = 0;
  // Characters.Character: the handle of a loaded character, or nullptr when none has that id.
  virtual Character* character(const std::u16string& id) = 0;
  // The double-click handler is called on the program's thread, also while actions are queued.
  virtual void set_double_click_handler(DoubleClickHandler handler) = 0;
};

}  // namespace vembrel
