#include "host/qt/idle_schedule.hpp"

#include "lookup/animations.hpp"

namespace vembrel {

IdleStep IdleSchedule::next(bool can_look_around) {
  IdleStep step;
  step.delay_msec = 2500 + int(random_.bounded(4000));
  const bool look = can_look_around && random_.bounded(5) == 0;
  step.animation = QLatin1String(look ? animations::kLookAround : animations::kBlink);
  if (look) step.delay_msec += 2000;
  return step;
}

IdleTimer::IdleTimer(quint32 seed, Play play, ScaleMsec scale)
    : schedule_(seed), play_(std::move(play)), scale_(std::move(scale)) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { play_(next_); });
}

void IdleTimer::schedule(bool can_look_around) {
  const IdleStep step = schedule_.next(can_look_around);
  next_ = step.animation;
  timer_.start(scale_(step.delay_msec));
}

}  // namespace vembrel
