#pragma once
// The character's own window: placed by the program itself and kept on top, never taking
// focus, shaped to the current frame so clicks on transparent pixels reach whatever is below.

#include <QPoint>
#include <QWidget>
#include <optional>

#include "host/qt/frame_cache.hpp"

namespace vembrel {

class CharacterWindow : public QWidget {
  Q_OBJECT

 public:
  CharacterWindow();

  // Draws `frame` and shapes the window to it; nullptr shows nothing. The window keeps its own
  // copy (the image's and mask's data are shared, not copied), so the cache may drop the
  // frame at any time.
  void showFrame(const RenderedFrame* frame);
  void setMaskThreshold(int threshold) { threshold_ = threshold; }
  // With a compositor the window keeps its soft edges; without one it is clipped to the frame.
  void setCompositing(bool on);
  bool isOpaqueAt(QPoint local) const;

 signals:
  // button: 1 left, 2 right; shift: 1 when Shift was held; at: screen pixels.
  void doubleClicked(int button, int shift, QPoint at);
  void dragged(QPoint window_position);
  void dragFinished();
  void contextMenuWanted(QPoint at);
  // The window's position changed, by the program or by a window manager.
  void moved(QPoint window_position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void applyShape();

  std::optional<RenderedFrame> frame_;
  int threshold_ = 128;
  bool compositing_ = false;
  bool pressed_ = false;
  bool dragging_ = false;
  QPoint press_global_;
  QPoint press_window_;
};

// Window flags and attributes shared by the character and its balloon.
void makeFloatingWindow(QWidget& window);

}  // namespace vembrel
