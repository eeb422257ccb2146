#include "host/qt/character_window.hpp"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "host/qt/mask_builder.hpp"
#include "host/qt/window_shape.hpp"

namespace vembrel {

// A window the window manager does not manage (override-redirect on X11): window managers
// and compositors move managed windows where they like (sway centres them, xfwm4 pulls them
// inside the screen, Weston stacks them at 64,64), while an unmanaged one stands exactly where
// the program puts it, above the managed windows, under X11 and XWayland alike.
void makeFloatingWindow(QWidget& window) {
  window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint |
                        Qt::BypassWindowManagerHint);
  window.setAttribute(Qt::WA_TranslucentBackground);
  window.setAttribute(Qt::WA_ShowWithoutActivating);
  window.setAttribute(Qt::WA_X11DoNotAcceptFocus);
  window.setFocusPolicy(Qt::NoFocus);
}

CharacterWindow::CharacterWindow() {
  makeFloatingWindow(*this);
  // The name is the character's; the description says what it is for and how to reach it.
  setAccessibleDescription(QStringLiteral("中文词典助手：双击打开词典菜单，答案显示在它的气球里"));
}

void CharacterWindow::showFrame(const RenderedFrame* frame) {
  if (!frame && !frame_) return;
  if (frame && frame_ && frame->image.cacheKey() == frame_->image.cacheKey() &&
      frame->mask == frame_->mask)
    return;
  if (frame)
    frame_ = *frame;
  else
    frame_.reset();
  if (frame_) applyShape();
  update();
}

void CharacterWindow::setCompositing(bool on) {
  if (on == compositing_) return;
  compositing_ = on;
  if (frame_) applyShape();
  update();
}

void CharacterWindow::applyShape() {
  applyWindowShape(*this, frame_->mask, compositing_);
}

bool CharacterWindow::isOpaqueAt(QPoint local) const {
  return frame_ && vembrel::isOpaqueAt(frame_->image, local, threshold_);
}

void CharacterWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (frame_) painter.drawImage(0, 0, frame_->image);
}

// The mask keeps the window system from delivering clicks on transparent pixels; the same
// test here covers platforms without window shapes.
void CharacterWindow::mousePressEvent(QMouseEvent* event) {
  if (!isOpaqueAt(event->position().toPoint())) return event->ignore();
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    dragging_ = false;
    press_global_ = event->globalPosition().toPoint();
    press_window_ = pos();
  }
}

void CharacterWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint offset = event->globalPosition().toPoint() - press_global_;
  if (!dragging_ && offset.manhattanLength() < QApplication::startDragDistance()) return;
  dragging_ = true;
  emit dragged(press_window_ + offset);
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
    if (dragging_) emit dragFinished();
    dragging_ = false;
  } else if (event->button() == Qt::RightButton && isOpaqueAt(event->position().toPoint())) {
    emit contextMenuWanted(event->globalPosition().toPoint());
  }
}

void CharacterWindow::moveEvent(QMoveEvent*) {
  emit moved(pos());
}

void CharacterWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const bool left = event->button() == Qt::LeftButton;
  if (!left && event->button() != Qt::RightButton) return;
  if (!isOpaqueAt(event->position().toPoint())) return event->ignore();
  if (left) mousePressEvent(event);  // the second press may still start a drag
  const int shift = event->modifiers() & Qt::ShiftModifier ? 1 : 0;
  emit doubleClicked(left ? 1 : 2, shift, event->globalPosition().toPoint());
}

}  // namespace vembrel
