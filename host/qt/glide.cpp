#include "host/qt/glide.hpp"

#include <QEasingCurve>
#include <algorithm>

namespace vembrel {

namespace {
constexpr int kStepMsec = 16;
}  // namespace

Glide::Glide(MoveTo move_to, std::function<void()> done)
    : move_to_(std::move(move_to)), done_(std::move(done)) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { step(); });
}

void Glide::start(QPoint from, QPoint to, int duration_msec) {
  from_ = from;
  to_ = to;
  duration_msec_ = duration_msec;
  clock_.start();
  step();
}

void Glide::step() {
  const qint64 elapsed = clock_.elapsed();
  if (elapsed >= duration_msec_ || from_ == to_) {
    move_to_(to_);
    return done_();
  }
  static const QEasingCurve easing(QEasingCurve::InOutCubic);
  const qreal t = easing.valueForProgress(qreal(elapsed) / duration_msec_);
  const QPointF delta = QPointF(to_ - from_) * t;
  move_to_(from_ + delta.toPoint());
  timer_.start(int(std::min<qint64>(kStepMsec, duration_msec_ - elapsed)));
}

}  // namespace vembrel
