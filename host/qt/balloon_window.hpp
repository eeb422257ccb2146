#pragma once
// The thought balloon: a cloud with a trail of bubbles toward the character's head, showing
// one page of a thought. Its title and accessible name are the page's text so screen readers
// (and tests) can read it.

#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include "host/qt/balloon_layout.hpp"

namespace vembrel {

struct BalloonPage {
  QStringList lines;
  QString text;      // the whole page, as the title
  QString new_text;  // the part of it not on show before (all of it on a fresh page)
  int number = 1;    // of the page in its balloon, from 1
  int count = 1;     // pages known so far; more than one shows as "(1/3)"
};

class BalloonWindow : public QWidget {
  Q_OBJECT

 public:
  BalloonWindow();

  static QFont textFont();
  void setMaskThreshold(int threshold);
  // With a compositor the balloon keeps its soft edges; without one it is clipped to them.
  void setCompositing(bool on);
  void showPage(const BalloonPage& page, const BalloonGeometry& geometry);
  // Follows the character without redrawing when only the position changed.
  void place(const BalloonGeometry& geometry);
  const BalloonPage& page() const { return page_; }
  const BalloonGeometry& layout() const { return geometry_; }

  // Draws a balloon as it would appear, for previews.
  static QImage render(const BalloonPage& page, const BalloonGeometry& geometry, qreal ratio);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void reshape();

  BalloonPage page_;
  BalloonGeometry geometry_;
  QImage image_;
  int threshold_ = 128;
  bool compositing_ = false;
};

}  // namespace vembrel
