#pragma once
// When an idle character does something: a blink every few seconds, now and then a look
// around. One decision per call, so the host needs only a single-shot timer between them.

#include <QRandomGenerator>
#include <QString>
#include <QTimer>
#include <functional>

#include "host/qt/time_scale.hpp"

namespace vembrel {

struct IdleStep {
  int delay_msec = 0;  // from now (or from the end of the previous idle animation)
  QString animation;   // "blink" or "lookaround"
};

class IdleSchedule {
 public:
  explicit IdleSchedule(quint32 seed = 0x5eed) : random_(seed) {}
  IdleStep next(bool can_look_around);

 private:
  QRandomGenerator random_;
};

// Waits for the next idle animation on a single-shot timer and hands it to `play` when due.
class IdleTimer {
 public:
  using Play = std::function<void(const QString& animation)>;

  IdleTimer(quint32 seed, Play play, ScaleMsec scale);

  void schedule(bool can_look_around);
  void stop() { timer_.stop(); }
  // Whether an idle animation is playing: the character's owner says when one starts and ends.
  bool isPlaying() const { return playing_; }
  void setPlaying(bool playing) { playing_ = playing; }

 private:
  IdleSchedule schedule_;
  Play play_;
  ScaleMsec scale_;
  QTimer timer_;
  QString next_;
  bool playing_ = false;
};

}  // namespace vembrel
