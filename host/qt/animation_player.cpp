#include "host/qt/animation_player.hpp"

namespace vembrel {

AnimationPlayer::AnimationPlayer(std::shared_ptr<const CharacterDefinition> definition,
                                 ShowFrame show_frame, ScaleMsec scale)
    : definition_(std::move(definition)),
      show_frame_(std::move(show_frame)),
      scale_(std::move(scale)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { advance(); });
}

void AnimationPlayer::play(const QString& name, std::function<void()> done, bool follow_return) {
  const Animation* animation = definition_->animation(name);
  if (!animation) return done();
  animation_ = animation;
  step_ = 0;
  follow_return_ = follow_return;
  done_ = std::move(done);
  show_frame_(animation->steps.front().frame);
  timer_.start(scale_(animation->steps.front().duration_msec));
}

void AnimationPlayer::stop() {
  timer_.stop();
  animation_ = nullptr;
  done_ = nullptr;
}

void AnimationPlayer::advance() {
  if (!animation_) return;
  while (++step_ < animation_->steps.size()) {
    const int msec = scale_(animation_->steps[step_].duration_msec);
    // A frame given no time is not drawn, unless it is the last.
    if (msec == 0 && step_ + 1 < animation_->steps.size()) continue;
    show_frame_(animation_->steps[step_].frame);
    timer_.start(msec);
    return;
  }
  std::function<void()> done = std::move(done_);
  const QString after = follow_return_ ? animation_->return_animation : QString();
  animation_ = nullptr;
  done_ = nullptr;
  if (!after.isEmpty())
    play(after, std::move(done), false);
  else if (done)
    done();
}

}  // namespace vembrel
