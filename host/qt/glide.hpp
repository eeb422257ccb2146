#pragma once
// Moves a visible character smoothly from one place to another, easing in and out, a step
// every frame of the screen and no timer at all between glides.

#include <QElapsedTimer>
#include <QPoint>
#include <QTimer>
#include <functional>

namespace vembrel {

class Glide {
 public:
  using MoveTo = std::function<void(QPoint to)>;

  // `move_to` places the character at each step; `done` follows the last one.
  Glide(MoveTo move_to, std::function<void()> done);

  void start(QPoint from, QPoint to, int duration_msec);
  void stop() { timer_.stop(); }
  bool isActive() const { return timer_.isActive(); }

 private:
  void step();

  MoveTo move_to_;
  std::function<void()> done_;
  QTimer timer_;
  QElapsedTimer clock_;
  QPoint from_, to_;
  int duration_msec_ = 0;
};

}  // namespace vembrel
