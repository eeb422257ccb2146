#include "host/qt/qt_character.hpp"

#include <QEasingCurve>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "host/qt/mask_builder.hpp"
#include "host/qt/qt_character_host.hpp"

namespace vembrel {

namespace {

constexpr int kGlideMs = 1000;
constexpr int kGlideStepMs = 16;
constexpr qreal kWrapWidth = 240;
constexpr int kLinesPerPage = 8;
const QString kRest = QStringLiteral("rest");

}  // namespace

QtCharacter::QtCharacter(QtCharacterHost& host, std::u16string id,
                         std::shared_ptr<const CharacterDefinition> definition)
    : host_(host),
      id_(std::move(id)),
      definition_(std::move(definition)),
      cache_(definition_),
      idle_schedule_(quint32(qHash(QString::fromStdU16String(id_)))) {
  for (QTimer* timer : {&frame_timer_, &glide_timer_, &page_timer_, &idle_timer_})
    timer->setSingleShot(true);
  frame_timer_.setTimerType(Qt::PreciseTimer);
  connect(&frame_timer_, &QTimer::timeout, this, &QtCharacter::advanceFrame);
  connect(&glide_timer_, &QTimer::timeout, this, &QtCharacter::glideStep);
  connect(&page_timer_, &QTimer::timeout, this, &QtCharacter::nextPage);
  connect(&idle_timer_, &QTimer::timeout, this, &QtCharacter::playIdle);
  connect(&balloon_, &BalloonWindow::clicked, this, &QtCharacter::nextPage);

  connect(&window_, &CharacterWindow::doubleClicked, this,
          [this](int button, int shift, QPoint at) {
            host_.raiseDblClick({id_, button, shift, at.x(), at.y()});
          });
  connect(&window_, &CharacterWindow::dragged, this, [this](QPoint to) {
    if (glide_timer_.isActive()) {  // the user's hand wins over a glide
      glide_timer_.stop();
      setPosition(to);
      finishAction();
      return;
    }
    setPosition(to);
  });
  connect(&window_, &CharacterWindow::contextMenuWanted, this, &QtCharacter::popupMenu);
  connect(&window_, &CharacterWindow::moved, this, &QtCharacter::followWindow);

  window_.setWindowTitle(definition_->name);
  window_.resize(cache_.size());
  setCompositing(host_.compositing());
  showFrame(definition_->animation(kRest)->steps.front().frame);
}

QtCharacter::~QtCharacter() {
  delete menu_;
  window_.showFrame(nullptr);
}

int QtCharacter::scaled(int ms) const {
  return host_.scaled(ms);
}

// Properties: at once.

void QtCharacter::setHeight(int pixels) {
  cache_.setSize(QSize(cache_.size().width(), std::clamp(pixels, 1, kMaxCanvasPixels)));
  window_.resize(cache_.size());
  refreshFrame();
}

void QtCharacter::setWidth(int pixels) {
  cache_.setSize(QSize(std::clamp(pixels, 1, kMaxCanvasPixels), cache_.size().height()));
  window_.resize(cache_.size());
  refreshFrame();
}

void QtCharacter::setName(const std::u16string& name) {
  window_.setWindowTitle(QString::fromStdU16String(name));
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

void QtCharacter::MoveTo(int x, int y) {
  enqueue(MoveAction{QPoint(x, y)});
}
void QtCharacter::Show() {
  enqueue(ShowAction{});
}
void QtCharacter::Hide() {
  enqueue(HideAction{});
}
void QtCharacter::Play(const std::string& animation) {
  enqueue(PlayAction{QString::fromStdString(animation)});
}
void QtCharacter::Think(const std::u16string& text) {
  enqueue(ThinkAction{QString::fromStdU16String(text)});
}

void QtCharacter::Stop() {
  cancelEverything();
  queue_.clear();
  if (visible_) {
    showRest();
    scheduleIdle();
  }
}

void QtCharacter::showNow() {
  if (!visible_) {
    Stop();
    Show();
  }
  window_.raise();
}

void QtCharacter::keepOnTop() {
  if (!visible_) return;
  window_.raise();
  if (balloon_.isVisible()) balloon_.raise();
}

void QtCharacter::hideNow() {
  Stop();
  Hide();
}

void QtCharacter::enqueue(Action action) {
  queue_.push(std::move(action));
  if (running_) return;
  if (idle_playing_) {  // idling gives way at once
    cancelEverything();
    showRest();
  }
  startNext();
}

void QtCharacter::cancelEverything() {
  for (QTimer* timer : {&frame_timer_, &glide_timer_, &page_timer_, &idle_timer_}) timer->stop();
  animation_ = nullptr;
  animation_done_ = nullptr;
  idle_playing_ = false;
  running_ = false;
  running_think_ = false;
  balloon_.hide();
}

void QtCharacter::startNext() {
  // Actions that end at once call finishAction() and so come back here: the loop below takes
  // the next one, so a long queue of them does not nest a call for each.
  if (starting_) return;
  starting_ = true;
  idle_timer_.stop();
  while (!running_ && !queue_.empty()) startAction(queue_.takeNext());
  starting_ = false;
  if (!running_) scheduleIdle();
}

void QtCharacter::startAction(Action next) {
  running_ = true;
  if (observer_) observer_(describeAction(next));
  std::visit(
      [this](auto&& action) {
        using Kind = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<Kind, MoveAction>) {
          if (!visible_) {
            setPosition(action.to);
            finishAction();
          } else {
            startGlide(action.to);
          }
        } else if constexpr (std::is_same_v<Kind, ShowAction>) {
          if (visible_) return finishAction();
          visible_ = true;
          window_.move(position_);
          showFrame(definition_->animation(QStringLiteral("show"))->steps.front().frame);
          window_.show();
          window_.raise();
          playAnimation(QStringLiteral("show"), [this] {
            showRest();
            finishAction();
          });
        } else if constexpr (std::is_same_v<Kind, HideAction>) {
          if (!visible_) return finishAction();
          balloon_.hide();
          playAnimation(QStringLiteral("hide"), [this] {
            visible_ = false;
            window_.hide();
            showRest();
            finishAction();
          });
        } else if constexpr (std::is_same_v<Kind, PlayAction>) {
          // Nothing to see on a hidden character, and unknown names are not an error.
          if (!visible_ || !definition_->animation(action.animation)) return finishAction();
          playAnimation(action.animation, [this] {
            showRest();
            finishAction();
          });
        } else if constexpr (std::is_same_v<Kind, ThinkAction>) {
          if (!visible_) return finishAction();
          startThought(action.text);
        }
      },
      next);
}

void QtCharacter::finishAction() {
  running_ = false;
  if (running_think_) {
    running_think_ = false;
    // A following thought takes the balloon over; anything else starts without it.
    const Action* next = queue_.peek();
    if (!next || !std::holds_alternative<ThinkAction>(*next)) balloon_.hide();
  }
  startNext();
}

// Animations.

void QtCharacter::playAnimation(const QString& name, std::function<void()> done,
                                bool follow_return) {
  const Animation* animation = definition_->animation(name);
  if (!animation) return done();
  animation_ = animation;
  step_ = 0;
  follow_return_ = follow_return;
  animation_done_ = std::move(done);
  showFrame(animation->steps.front().frame);
  frame_timer_.start(scaled(animation->steps.front().ms));
}

void QtCharacter::advanceFrame() {
  if (!animation_) return;
  if (++step_ < animation_->steps.size()) {
    showFrame(animation_->steps[step_].frame);
    frame_timer_.start(scaled(animation_->steps[step_].ms));
    return;
  }
  std::function<void()> done = std::move(animation_done_);
  const QString after = follow_return_ ? animation_->return_animation : QString();
  animation_ = nullptr;
  animation_done_ = nullptr;
  // One return step only, so a return that names itself cannot loop.
  if (!after.isEmpty())
    playAnimation(after, std::move(done), false);
  else if (done)
    done();
}

void QtCharacter::showRest() {
  showFrame(definition_->animation(kRest)->steps.front().frame);
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
  if (balloon_.isVisible()) balloon_.place(balloonGeometry());
}

// Where the window really is, also when a window manager put it elsewhere than asked.
void QtCharacter::followWindow(QPoint actual) {
  if (!window_.isVisible() || actual == position_) return;
  position_ = actual;
  if (balloon_.isVisible()) balloon_.place(balloonGeometry());
}

void QtCharacter::startGlide(QPoint to) {
  glide_from_ = position_;
  glide_to_ = to;
  glide_ms_ = scaled(kGlideMs);
  glide_clock_.start();
  glideStep();
}

void QtCharacter::glideStep() {
  const qint64 elapsed = glide_clock_.elapsed();
  if (elapsed >= glide_ms_ || glide_from_ == glide_to_) {
    setPosition(glide_to_);
    return finishAction();
  }
  static const QEasingCurve easing(QEasingCurve::InOutCubic);
  const qreal t = easing.valueForProgress(qreal(elapsed) / glide_ms_);
  const QPointF delta = QPointF(glide_to_ - glide_from_) * t;
  setPosition(glide_from_ + delta.toPoint());
  glide_timer_.start(int(std::min<qint64>(kGlideStepMs, glide_ms_ - elapsed)));
}

// Thinking.

void QtCharacter::startThought(const QString& text) {
  running_think_ = true;
  const QFontMetricsF metrics(BalloonWindow::textFont());
  const auto measure = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
  const std::vector<TextLine> lines = wrapText(text, kWrapWidth, measure);
  qreal widest = metrics.horizontalAdvance(QStringLiteral("MMM"));
  for (const TextLine& line : lines) widest = std::max(widest, line.width);
  pages_.clear();
  int most_lines = 1;
  for (const TextPage& page : paginate(text, lines, kLinesPerPage)) {
    BalloonPage shown{{}, page.text};
    for (const TextLine& line : page.lines) shown.lines << text.mid(line.start, line.length);
    most_lines = std::max<int>(most_lines, int(shown.lines.size()));
    pages_.push_back(std::move(shown));
  }
  // Every page of one thought gets the same balloon, so it does not jump between pages.
  balloon_text_size_ = QSizeF(std::ceil(widest), std::ceil(metrics.lineSpacing() * most_lines));
  page_ = 0;
  showCurrentPage();
}

BalloonGeometry QtCharacter::balloonGeometry() const {
  const QRect character(position_, cache_.size());
  const QScreen* screen = QGuiApplication::screenAt(character.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return placeBalloon(balloon_text_size_, character, available);
}

void QtCharacter::showCurrentPage() {
  const BalloonPage& page = pages_[page_];
  balloon_.showPage(page, balloonGeometry());
  if (!balloon_.isVisible()) balloon_.show();
  balloon_.raise();
  page_timer_.start(scaled(pageReadingMs(page.text)));
}

void QtCharacter::nextPage() {
  if (!running_think_) return;
  page_timer_.stop();
  if (++page_ < pages_.size()) return showCurrentPage();
  finishAction();
}

// Idling.

void QtCharacter::scheduleIdle() {
  if (!visible_ || running_ || idle_playing_) return;
  const IdleStep step = idle_schedule_.next(definition_->animation(QStringLiteral("lookaround")));
  next_idle_ = step.animation;
  idle_timer_.start(scaled(step.delay_ms));
}

void QtCharacter::playIdle() {
  if (!visible_ || running_) return;
  idle_playing_ = true;
  playAnimation(next_idle_, [this] {
    idle_playing_ = false;
    showRest();
    scheduleIdle();
  });
}

void QtCharacter::popupMenu(QPoint at) {
  if (!auto_popup_menu_) return;
  if (!menu_) {
    menu_ = new QMenu;
    menu_->addAction(QStringLiteral("隐藏"), this, &QtCharacter::hideNow);
  }
  menu_->popup(at);
}

}  // namespace vembrel
