#pragma once
// The character host: the component that loads, draws, animates and queues the character.
// The program only ever talks to a host through these two interfaces, so the same logic
// drives the Qt window, the console front end and the recording host used by the tests.

#include <cstdint>
#include <functional>
#include <string>

#include "lookup/animations.hpp"  // the names Play is given

namespace vembrel {

// Arguments of a double-click on the character.
struct DblClickEvent {
  std::u16string character_id;
  int button = 1;
  int shift = 0;
  int x = 0;
  int y = 0;
};

// One loaded character. MoveTo, Show, Hide, Play and Think are queued and carried out one
// after another in call order; each returns at once. Stop ends the current action and drops
// every queued one. Setting a property takes effect at once.
class Character {
 public:
  virtual ~Character() = default;
  virtual void setHeight(int pixels) = 0;
  virtual void setWidth(int pixels) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void setName(const std::u16string& name) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void Play(const std::string& animation) = 0;
  virtual void Think(const std::u16string& text) = 0;
  virtual void setAutoPopupMenu(bool on) = 0;
  virtual void Stop() = 0;
};

// What Characters.Load reports: an empty error means the character is available at once.
struct LoadStatus {
  std::string error;
  bool ok() const { return error.empty(); }
};

// The host control: its character collection and its double-click event.
class CharacterHost {
 public:
  using DblClickHandler = std::function<void(const DblClickEvent&)>;
  virtual ~CharacterHost() = default;
  // Characters.Load: loads the character file at `path` under `id`; finished when it returns.
  virtual LoadStatus Load(const std::u16string& id, const std::string& path) = 0;
  // Characters.Character: the handle of a loaded character, or nullptr when none has that id.
  virtual Character* character(const std::u16string& id) = 0;
  // DblClick: raised on the program's thread, also while actions are queued.
  virtual void setDblClickHandler(DblClickHandler handler) = 0;
};

}  // namespace vembrel
