#pragma once
// The thought balloon: a cloud with a trail of bubbles toward the character's head, showing
// one page of a thought. Its title is the page's text, for tests and window lists; screen
// readers are told each new page once, as an announcement of its own.

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "host/qt/balloon_accessible.hpp"
#include "host/qt/balloon_layout.hpp"

namespace vembrel {

struct BalloonPage {
  QStringList lines;
  QString text;  // the whole page, as the title
  // The part of it not on show before (all of it on a fresh page): what a screen reader says
  // when the page shows, in balloon text (spaced out like `text`). Empty: the whole page.
  QString new_text;
  int number = 1;  // of the page in its balloon, from 1
  int count = 1;   // pages known so far; more than one shows as "(1/3)"
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
  // What a screen reader is told of the page on show, without the balloon's spacing.
  QString spokenText() const;
  const BalloonGeometry& layout() const { return geometry_; }

  // Draws a balloon as it would appear, for previews.
  static QImage render(const BalloonPage& page, const BalloonGeometry& geometry, qreal ratio);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void reshape();
  void announce(const QString& text);

  BalloonPage page_;
  BalloonGeometry geometry_;
  QImage image_;
  int threshold_ = 128;
  bool compositing_ = false;
  // The last page's announcement, until it has been made: a page set before the balloon
  // shows is announced as it shows.
  QPointer<BalloonAnnouncement> unannounced_;
};

}  // namespace vembrel
