#pragma once
// Shows a thought in the balloon page by page: each page stays long enough to be read, a click
// on the balloon turns it at once, and after the last page the thought is over.

#include <QSizeF>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "host/qt/balloon_window.hpp"
#include "host/qt/time_scale.hpp"

namespace vembrel {

// A thought wrapped and cut into pages, with the room for text every page of it gets, so the
// balloon does not jump between pages.
struct ThoughtPages {
  std::vector<BalloonPage> pages;
  QSizeF text_size;
};
ThoughtPages layOutThought(const QString& text);

class ThoughtPager {
 public:
  // Where the balloon goes for text of a given size, beside the character as it is now.
  using Place = std::function<BalloonGeometry(const QSizeF& text_size)>;

  ThoughtPager(BalloonWindow& balloon, Place place, ScaleMsec scale,
               std::function<void()> finished);

  void start(const QString& text);
  // The next page, or the end of the thought after the last.
  void nextPage();
  // Ends the thought on show, if any, and says whether there was one; the balloon stays up.
  bool end();
  // Moves a balloon on show to where it belongs now.
  void follow();

 private:
  void showCurrentPage();

  BalloonWindow& balloon_;
  Place place_;
  ScaleMsec scale_;
  std::function<void()> finished_;
  QTimer timer_;
  ThoughtPages thought_;
  size_t page_ = 0;
  bool active_ = false;
};

}  // namespace vembrel
