#include "host/qt/qt_character.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "host/qt/mask_builder.hpp"
#include "host/qt/screen_reach.hpp"
#include "lookup/animations.hpp"

namespace vembrel {

namespace {
constexpr int kGlideMsec = 1000;
constexpr double kShortestFrameMsec = 40;
}  // namespace

QtCharacter::QtCharacter(std::u16string id, std::shared_ptr<const CharacterDefinition> definition,
                         CharacterHostLinks links)
    : links_(std::move(links)),
      id_(std::move(id)),
      definition_(std::move(definition)),
      cache_(definition_),
      runner_([this](Action action) { startAction(std::move(action)); },
              [this] {
                // A balloon that nothing would end goes now.
                if (!pager_.waiting()) pager_.close();
                scheduleIdle();
              }),
      player_(
          definition_, [this](const QString& frame) { showFrame(frame); },
          [this](int msec) { return gestureMsec(msec); }),
      glide_([this](QPoint to) { setPosition(to); }, [this] { finishAction(); }),
      pager_(balloon_,
             {.place = [this](const QSizeF& text_size) { return balloonGeometry(text_size); },
              .scale = [this](int msec) { return links_.scaled(msec); },
              .finished = [this] { finishAction(); },
              .skip_gestures = [this] { skipGestures(); }}),
      idle_(
          quint32(qHash(QString::fromStdU16String(id_))),
          [this](const QString& animation) { playIdle(animation); },
          [this](int msec) { return links_.scaled(msec); }) {
  connect(&window_, &CharacterWindow::doubleClicked, this,
          [this](int button, int shift, QPoint at) {
            if (links_.double_clicked) links_.double_clicked({id_, button, shift, at.x(), at.y()});
          });
  connect(&window_, &CharacterWindow::dragged, this, [this](QPoint to) {
    if (glide_.isActive()) {  // the user's hand wins over a glide
      glide_.stop();
      setPosition(to);
      finishAction();
      return;
    }
    setPosition(to);
  });
  connect(&window_, &CharacterWindow::moved, this, &QtCharacter::followWindow);
  connect(&window_, &CharacterWindow::dragFinished, this, &QtCharacter::finishDrag);

  set_name(QGuiApplication::applicationDisplayName().toStdU16String());
  window_.resize(cache_.size());
  setCompositing(links_.compositing && links_.compositing());
  showRest();
}

QtCharacter::~QtCharacter() = default;

// Properties: at once.

void QtCharacter::set_height(int pixels) {
  cache_.setSize(QSize(cache_.size().width(), std::clamp(pixels, 1, kMaxCanvasPixels)));
  window_.resize(cache_.size());
  refreshFrame();
}

void QtCharacter::set_width(int pixels) {
  cache_.setSize(QSize(std::clamp(pixels, 1, kMaxCanvasPixels), cache_.size().height()));
  window_.resize(cache_.size());
  refreshFrame();
}

void QtCharacter::set_name(const std::u16string& name) {
  window_.setWindowTitle(QString::fromStdU16String(name));
  window_.setAccessibleName(window_.windowTitle());
}

void QtCharacter::setCompositing(bool on) {
  const int threshold = on ? kMaskThresholdWithCompositor : kMaskThresholdWithoutCompositor;
  window_.setCompositing(on);
  balloon_.setCompositing(on);
  window_.setMaskThreshold(threshold);
  balloon_.setMaskThreshold(threshold);
  cache_.setMaskThreshold(threshold);
  refreshFrame();
}

// The queue.

void QtCharacter::move_to(int x, int y) {
  enqueue(MoveAction{QPoint(x, y)});
}
void QtCharacter::show() {
  enqueue(ShowAction{});
}
void QtCharacter::hide() {
  enqueue(HideAction{});
}
void QtCharacter::play(const std::string& animation) {
  enqueue(PlayAction{QString::fromStdString(animation)});
}
void QtCharacter::think(const std::u16string& text) {
  enqueue(ThinkAction{QString::fromStdU16String(text)});
}

void QtCharacter::stop() {
  cancelEverything();
  runner_.clear();
  if (visible_) {
    showRest();
    scheduleIdle();
  }
}

void QtCharacter::showNow() {
  if (!visible_) {
    stop();
    show();
  }
  window_.raise();
}

void QtCharacter::bringWithinReach(QPoint home) {
  if (is_within_reach(QRect(position_, cache_.size()), screen_areas())) return;
  const bool gliding = glide_.isActive();
  glide_.stop();
  setPosition(home);
  if (gliding) finishAction();  // the glide was going to a place out of reach too
}

void QtCharacter::keepOnTop() {
  if (!visible_) return;
  window_.raise();
  if (balloon_.isVisible()) balloon_.raise();
}

void QtCharacter::hideNow() {
  stop();
  hide();
}

void QtCharacter::enqueue(Action action) {
  runner_.push(std::move(action));
  enqueuing_ = true;
  if (runner_.isRunning()) {
    if (running_think_ && think_from_call_) {
      pager_.setAfter(afterThought());  // the same answer, still being queued
    } else if (running_think_ && pager_.holdingLast() && !runner_.peekAt(1)) {
      finishAction();  // the last thought of an answer gives way to the next command
    }
  } else {
    if (idle_.isPlaying()) {  // idling gives way at once
      cancelEverything();
      showRest();
    }
    idle_.stop();
    runner_.startNext();
  }
  enqueuing_ = false;
}

void QtCharacter::cancelEverything() {
  player_.stop();
  glide_.stop();
  pager_.close();
  idle_.stop();
  idle_.setPlaying(false);
  runner_.abandon();
  running_think_ = running_play_ = skip_gestures_ = think_from_call_ = false;
  lead_in_factor_.reset();
  frame_debt_msec_ = 0;
}

AfterThought QtCharacter::afterThought() const {
  for (size_t i = 0;; ++i) {
    const Action* next = runner_.peekAt(i);
    if (next && std::holds_alternative<PlayAction>(*next)) continue;
    if (next && std::holds_alternative<ThinkAction>(*next)) return AfterThought::Thought;
    return next || i == 0 ? AfterThought::Other : AfterThought::Gestures;
  }
}

int QtCharacter::animationMsec(const QString& name) const {
  int msec = 0;
  const Animation* animation = definition_->animation(name);
  for (int hop = 0; animation && hop < 2; ++hop) {
    for (const AnimationStep& step : animation->steps) msec += step.duration_msec;
    animation = animation->return_animation.isEmpty()
                    ? nullptr
                    : definition_->animation(animation->return_animation);
  }
  return msec;
}

void QtCharacter::decideLeadIn() {
  if (afterThought() != AfterThought::Thought) {
    lead_in_factor_ = 1.0;
    // An answer cut short goes when no thought comes to take its place.
    if (!pager_.gathering() && !pager_.waiting()) pager_.close();
    return;
  }
  int run_msec = animationMsec(current_play_);
  for (size_t i = 0;; ++i) {
    const Action* next = runner_.peekAt(i);
    if (!next || !std::holds_alternative<PlayAction>(*next)) break;
    run_msec += animationMsec(std::get<PlayAction>(*next).animation);
  }
  lead_in_factor_ = leadInFactor(run_msec, pager_.gathering());
}

// A gesture started by a program's call is timed from its second frame on, once the calls
// that come with it (the thought it leads to) are queued too.
int QtCharacter::gestureMsec(int msec) {
  if (!running_play_) return links_.scaled(msec);
  if (!lead_in_factor_ && !enqueuing_) decideLeadIn();
  const double factor = lead_in_factor_.value_or(1.0);
  if (factor >= 1.0) return links_.scaled(msec);
  // Sped up, frames too short to see are left out (and need not be drawn): their time goes to
  // the next one shown.
  frame_debt_msec_ += msec * factor;
  if (frame_debt_msec_ < kShortestFrameMsec) return 0;
  const int due = int(std::lround(frame_debt_msec_));
  frame_debt_msec_ = 0;
  return std::max(1, links_.scaled(due));
}

void QtCharacter::skipGestures() {
  skip_gestures_ = true;
  if (!running_play_) return;
  player_.stop();
  showRest();
  finishAction();
}

void QtCharacter::startAction(Action next) {
  if (!std::holds_alternative<PlayAction>(next)) {
    lead_in_factor_.reset();
    frame_debt_msec_ = 0;
    skip_gestures_ = false;
    // Only a thought takes the balloon over; anything else starts without it.
    if (!std::holds_alternative<ThinkAction>(next)) pager_.close();
  }
  std::visit(
      [this](auto&& action) {
        using Kind = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<Kind, MoveAction>) {
          if (!visible_) {
            setPosition(action.to);
            finishAction();
          } else {
            glide_.start(position_, action.to, links_.scaled(kGlideMsec));
          }
        } else if constexpr (std::is_same_v<Kind, ShowAction>) {
          if (visible_) return finishAction();
          visible_ = true;
          window_.move(position_);
          showFrame(definition_->firstFrame(QLatin1String(animations::kShow)));
          window_.show();
          window_.raise();
          playThenRest(QLatin1String(animations::kShow), [this] { finishAction(); });
        } else if constexpr (std::is_same_v<Kind, HideAction>) {
          if (!visible_) return finishAction();
          balloon_.hide();
          player_.play(QLatin1String(animations::kHide), [this] {
            visible_ = false;
            window_.hide();
            showRest();
            finishAction();
          });
        } else if constexpr (std::is_same_v<Kind, PlayAction>) {
          // Nothing to see on a hidden character, and unknown names are not an error.
          if (!visible_ || !definition_->animation(action.animation) || skip_gestures_)
            return finishAction();
          running_play_ = true;
          current_play_ = action.animation;
          playThenRest(action.animation, [this] { finishAction(); });
        } else if constexpr (std::is_same_v<Kind, ThinkAction>) {
          if (!visible_) return finishAction();
          running_think_ = true;
          think_from_call_ = enqueuing_;
          if (enqueuing_) QTimer::singleShot(0, this, [this] { think_from_call_ = false; });
          pager_.start(action.text, afterThought());
        }
      },
      next);
}

void QtCharacter::finishAction() {
  // The balloon stays: the next action decides whether it goes.
  if (running_think_) pager_.end();
  running_think_ = running_play_ = false;
  runner_.finish();
}

void QtCharacter::playThenRest(const QString& name, std::function<void()> then) {
  player_.play(name, [this, then = std::move(then)] {
    showRest();
    then();
  });
}

// Frames.

void QtCharacter::showRest() {
  showFrame(definition_->restFrame());
}

void QtCharacter::showFrame(const QString& id) {
  current_frame_ = id;
  // A hidden character draws nothing: its frame is drawn when it shows again.
  if (!visible_) return window_.showFrame(nullptr);
  const qreal ratio = window_.devicePixelRatioF();
  if (!qFuzzyCompare(ratio, cache_.devicePixelRatio())) {
    window_.showFrame(nullptr);  // the cache is about to drop the frame the window holds
    cache_.setDevicePixelRatio(ratio);
  }
  window_.showFrame(cache_.frame(id));
}

void QtCharacter::refreshFrame() {
  window_.showFrame(nullptr);
  if (!current_frame_.isEmpty()) showFrame(current_frame_);
}

// Moving.

void QtCharacter::setPosition(QPoint position) {
  position_ = position;
  window_.move(position);
  pager_.follow();
}

// Where the window really is, also when a window manager put it elsewhere than asked.
void QtCharacter::followWindow(QPoint actual) {
  if (!window_.isVisible() || actual == position_) return;
  position_ = actual;
  pager_.follow();
}

// A drag never leaves the character where the user cannot reach it again.
void QtCharacter::finishDrag() {
  const QPoint reachable = reachable_position(QRect(position_, cache_.size()), screen_areas());
  if (reachable != position_) setPosition(reachable);
}

BalloonGeometry QtCharacter::balloonGeometry(const QSizeF& text_size) const {
  const QRect character(position_, cache_.size());
  const QScreen* screen = QGuiApplication::screenAt(character.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return placeBalloon(text_size, character, available);
}

// Idling.

void QtCharacter::scheduleIdle() {
  if (!visible_ || runner_.isRunning() || idle_.isPlaying()) return;
  idle_.schedule(definition_->animation(QLatin1String(animations::kLookAround)) != nullptr);
}

void QtCharacter::playIdle(const QString& animation) {
  if (!visible_ || runner_.isRunning()) return;
  idle_.setPlaying(true);
  player_.play(animation, [this] {
    idle_.setPlaying(false);
    showRest();
    scheduleIdle();
  });
}

}  // namespace vembrel
