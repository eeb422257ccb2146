#pragma once
// Plays one animation of a character at a time: a single-shot timer to the next frame only,
// then the animation's return animation (one step of return, so a return that names itself
// cannot loop), then the caller's `done`.

#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "host/qt/character_file.hpp"
#include "host/qt/time_scale.hpp"

namespace vembrel {

class AnimationPlayer {
 public:
  using ShowFrame = std::function<void(const QString& frame)>;

  AnimationPlayer(std::shared_ptr<const CharacterDefinition> definition, ShowFrame show_frame,
                  ScaleMsec scale);

  // An animation the character does not have ends at once.
  void play(const QString& name, std::function<void()> done, bool follow_return = true);
  // Stops where it is, without calling `done`.
  void stop();

 private:
  void advance();

  std::shared_ptr<const CharacterDefinition> definition_;
  ShowFrame show_frame_;
  ScaleMsec scale_;
  QTimer timer_;
  const Animation* animation_ = nullptr;
  size_t step_ = 0;
  bool follow_return_ = true;
  std::function<void()> done_;
};

}  // namespace vembrel
