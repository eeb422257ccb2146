#include "host/qt/qt_character.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "host/qt/mask_builder.hpp"
#include "host/qt/screen_reach.hpp"
#include "lookup/animations.hpp"

namespace vembrel {

namespace {
constexpr int kGlideMsec = 1000;
}  // namespace

QtCharacter::QtCharacter(std::u16string id, std::shared_ptr<const CharacterDefinition> definition,
                         CharacterHostLinks links)
    : links_(std::move(links)),
      id_(std::move(id)),
      definition_(std::move(definition)),
      cache_(definition_),
      runner_([this](Action action) { startAction(std::move(action)); },
              [this] { scheduleIdle(); }),
      player_(
          definition_, [this](const QString& frame) { showFrame(frame); },
          [this](int msec) { return links_.scaled(msec); }),
      glide_([this](QPoint to) { setPosition(to); }, [this] { finishAction(); }),
      pager_(
          balloon_, [this](const QSizeF& text_size) { return balloonGeometry(text_size); },
          [this](int msec) { return links_.scaled(msec); }, [this] { finishAction(); }),
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
  if (runner_.isRunning()) return;
  if (idle_.isPlaying()) {  // idling gives way at once
    cancelEverything();
    showRest();
  }
  idle_.stop();
  runner_.startNext();
}

void QtCharacter::cancelEverything() {
  player_.stop();
  glide_.stop();
  pager_.end();
  idle_.stop();
  idle_.setPlaying(false);
  runner_.abandon();
  balloon_.hide();
}

void QtCharacter::startAction(Action next) {
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
          if (!visible_ || !definition_->animation(action.animation)) return finishAction();
          playThenRest(action.animation, [this] { finishAction(); });
        } else if constexpr (std::is_same_v<Kind, ThinkAction>) {
          if (!visible_) return finishAction();
          pager_.start(action.text);
        }
      },
      next);
}

void QtCharacter::finishAction() {
  // A following thought takes the balloon over; anything else starts without it.
  if (pager_.end()) {
    const Action* next = runner_.peekNext();
    if (!next || !std::holds_alternative<ThinkAction>(*next)) balloon_.hide();
  }
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
