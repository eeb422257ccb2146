#include "host/qt/idle_schedule.hpp"

namespace vembrel {

IdleStep IdleSchedule::next(bool can_look_around) {
  IdleStep step;
  step.delay_ms = 2500 + int(random_.bounded(4000));
  const bool look = can_look_around && random_.bounded(5) == 0;
  step.animation = look ? QStringLiteral("lookaround") : QStringLiteral("blink");
  if (look) step.delay_ms += 2000;
  return step;
}

}  // namespace vembrel
