#pragma once
// When an idle character does something: a blink every few seconds, now and then a look
// around. One decision per call, so the host needs only a single-shot timer between them.

#include <QRandomGenerator>
#include <QString>

namespace vembrel {

struct IdleStep {
  int delay_ms = 0;   // from now (or from the end of the previous idle animation)
  QString animation;  // "blink" or "lookaround"
};

class IdleSchedule {
 public:
  explicit IdleSchedule(quint32 seed = 0x5eed) : random_(seed) {}
  IdleStep next(bool can_look_around);

 private:
  QRandomGenerator random_;
};

}  // namespace vembrel
